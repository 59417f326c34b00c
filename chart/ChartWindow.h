#pragma once
// The "Lambda Chart" window: the live lambda history drawn over time with its AFR, and the
// replay of a data log. Modeless and independent of the main window: it only listens to the
// readings the main window decodes and never reaches the serial line. Hiding it keeps the
// history, which goes on filling while it is hidden.
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "ChartSettings.h"
#include "LambdaSeries.h"
#include "Readout.h"
#include "SeriesDecimation.h"
#include "TimeSpan.h"
#include "monitor/MainWindow.h" // TDecodedReading, TLinkStatus

class QBoxLayout;
class QComboBox;
class QFileDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWheelEvent;
class QCPRange;
class TLambdaPlot;

// When the window makes its controls and plot: at once, or when it is first shown, so a run
// that never opens the chart keeps only the history.
enum class TChartBuild { Now, OnFirstShow };

class TChartForm : public QWidget {
    Q_OBJECT
public:
    // The window is a window of its own (no parent, so disabling the main window leaves it
    // usable); it is deleted together with `owner`.
    explicit TChartForm(QObject* owner = nullptr, TChartBuild build = TChartBuild::Now);
    ~TChartForm() override;

    // Makes the controls and the plot unless they are made; showing the window does it.
    void EnsureComponents();
    void setVisible(bool visible) override;

    // Shows the window, or brings it to the front.
    void ShowForm();

    // Fed by the main window.
    void AddReading(const TDecodedReading& reading);
    void LinkStatusChanged(TLinkStatus status);

    // Handlers.
    void SpanBoxChange(int index);
    void AxisBoxChange(int index);
    void FuelBoxChange(int index);
    void RatioEditDone();
    void PauseButtonClick(bool paused);
    void ClearButtonClick();
    void SaveImageButtonClick();
    void OpenLogButtonClick();
    void LiveButtonClick();
    // Replays the data log at `path`. A file that is not a log raises and changes nothing.
    void OpenLogFile(const std::string& path);
    // Writes the plot and its readout as a PNG image.
    void SaveImageFile(const std::string& path);
    // Reduces what is in view to the plot's columns and hands it to the plot, which draws it
    // when the event loop next runs; updates the readout.
    void Redraw();

    const TLambdaSeries& LiveHistory() const { return FLive; }
    // The live history, or the log being replayed.
    const TLambdaSeries& Shown() const { return FReplay ? *FReplay : FLive; }
    bool Replaying() const { return FReplay.has_value(); }
    const TChartTimeSpan& Span() const { return FSpan; }
    const TChartSettings& Settings() const { return FSettings; }

    // Components.
    TLambdaPlot* Plot = nullptr;
    QWidget* ChartArea = nullptr; // the plot and its readout: what Save Image writes
    QComboBox* SpanBox = nullptr;
    QComboBox* AxisBox = nullptr;
    QComboBox* FuelBox = nullptr;
    QLineEdit* RatioEdit = nullptr;
    QLabel* RatioMessage = nullptr;
    QPushButton* PauseButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* SaveImageButton = nullptr;
    QPushButton* OpenLogButton = nullptr;
    QPushButton* LiveButton = nullptr;
    std::array<QLabel*, rcCount> ReadoutHeading{};
    std::array<QLabel*, rcCount> ReadoutLambda{};
    std::array<QLabel*, rcCount> ReadoutAfr{};
    QLabel* StatusText = nullptr;
    QFileDialog* OpenLogDialog = nullptr;
    QFileDialog* SaveImageDialog = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Built in ChartLayout.cpp.
    void CreateComponents();
    void CreateControls(QBoxLayout* layout);
    void CreateReadout(QGridLayout* grid);
    void CreateDialogs();
    void ConnectHandlers();
    void ApplySettings();
    void PlaceBesideOwner();

    // Redraws now when the last redraw is old enough and returns true; otherwise makes sure a
    // redraw follows in time and returns false.
    bool RedrawIfDue();
    void UpdateReadout(double from, double to);
    void ApplyFuel();
    void SetRatioMessage(const QString& text);
    void UpdateModeControls();
    void PlotWheel(QWheelEvent* event);
    void PlotDragged(const QCPRange& range);
    double NewestTime() const;
    std::string FuelName() const;

    QPointer<QWidget> FOwner;
    bool FPlaced = false;
    TChartSettings FSettings;
    TChartTimeSpan FSpan;
    TLambdaSeries FLive;
    std::optional<TLambdaSeries> FReplay;
    std::string FReplayStatus;
    TDecimatedLine FLine;
    QTimer* FRedrawTimer = nullptr;
    QElapsedTimer FSinceRedraw;
    bool FSettingRange = false;
};
