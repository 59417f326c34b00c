#pragma once
// The "Lambda Chart" window: the live lambda history drawn over time with its AFR, and the
// replay of a data log. Modeless and independent of the main window: it only listens to the
// readings the main window decodes and never reaches the serial line. Hiding it keeps the
// history, which goes on filling while it is hidden. Logs are read and exported on a thread
// of their own, with their progress in the status line and a Cancel button.
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ChartSettings.h"
#include "LambdaSeries.h"
#include "LogExport.h"
#include "LogLoad.h"
#include "PlotBand.h"
#include "Readout.h"
#include "SeriesDecimation.h"
#include "TimeSpan.h"
#include "monitor/MainWindow.h" // TDecodedReading, TLinkStatus

class QAction;
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
    // A marker written into the log at `monotonic`: a vertical line there.
    void LogMarkerWritten(const TLogMarker& marker,
                          std::chrono::steady_clock::time_point monotonic);

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
    void ExportButtonClick(bool whole);
    void CancelButtonClick();
    // Starts reading the log at `path` for replay on a thread of its own; the replay shows
    // once it is read. A file that is no regular file or no log raises at once and changes
    // nothing.
    void OpenLogFile(const std::string& path);
    // Starts writing what is shown as an MSL or CSV log (by the suffix of `path`): the span in
    // view, or the whole history or replayed log when `whole`.
    void ExportFile(const std::string& path, bool whole);
    // A log is being read or exported.
    bool Busy() const { return FLoad != nullptr || FExport != nullptr; }
    // Writes the plot and its readout as a PNG or JPEG image, by the suffix of `path`.
    void SaveImageFile(const std::string& path);
    // Reduces what is in view to the plot's columns and hands it to the plot, which draws it
    // when the event loop next runs; updates the readout.
    void Redraw();

    const TLambdaSeries& LiveHistory() const { return FLive; }
    // The live history, or the log being replayed.
    const TLambdaSeries& Shown() const { return FReplay ? FReplay->Series : FLive; }
    const std::vector<TChartMarker>& ShownMarkers() const {
        return FReplay ? FReplay->Markers : FLiveMarkers;
    }
    bool Replaying() const { return FReplay != nullptr; }
    const TChartTimeSpan& Span() const { return FSpan; }
    const TChartSettings& Settings() const { return FSettings; }
    // The chosen fuel's name, or "typed ratio".
    std::string FuelName() const;
    // The fuel chosen, as the logs name it.
    TLogFuel Fuel() const;
    // The dial's bands, shaded behind the line; kept until the plot is made.
    void SetBands(const std::vector<TPlotBand>& bands);

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
    QPushButton* ExportButton = nullptr; // its menu: the span in view, or all
    QAction* ExportSpanAction = nullptr;
    QAction* ExportWholeAction = nullptr;
    QPushButton* CancelButton = nullptr; // shown while a log is read or exported
    std::array<QLabel*, rcCount> ReadoutHeading{};
    std::array<QLabel*, rcCount> ReadoutLambda{};
    std::array<QLabel*, rcCount> ReadoutAfr{};
    QLabel* StatusText = nullptr;
    QFileDialog* OpenLogDialog = nullptr;
    QFileDialog* SaveImageDialog = nullptr;
    QFileDialog* ExportDialog = nullptr;

signals:
    // The fuel (or the typed ratio) changed; the main window shows AFR for the same fuel.
    void FuelChanged(double stoichiometric, const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
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
    // The window can be seen: shown, not minimised, and on screen.
    bool OnScreen() const;
    void UpdateReadout(double from, double to);
    void ApplyFuel();
    void SetRatioMessage(const QString& text);
    void UpdateModeControls();
    void PlotWheel(QWheelEvent* event);
    void PlotDragged(const QCPRange& range);
    double NewestTime() const;
    // Follows the log being read or exported; shows the replay or the result at its end.
    void JobTick();
    void JobStarted(const std::string& status);
    void ShowReplay(std::shared_ptr<TReplayLog> replay);
    std::string ReplayStatus(const TReplayLog& replay) const;

    QPointer<QWidget> FOwner;
    bool FPlaced = false;
    TChartSettings FSettings;
    TChartTimeSpan FSpan;
    TLambdaSeries FLive;
    std::vector<TChartMarker> FLiveMarkers;
    std::vector<TPlotBand> FBands;
    // Live readings are placed by the monotonic clock, counted from the wall clock's time at
    // the first reading: place = monotonic + FLiveAnchor.
    double FLiveAnchor = 0;
    std::shared_ptr<TReplayLog> FReplay;
    std::string FReplayStatus;
    std::string FJobName;   // "Reading drive.txt", "Exporting to ..."
    std::string FJobStatus; // what a log being read or exported says
    // The live view's pause before a replay, taken up again by Live.
    bool FLiveHeld = false;
    double FLiveHeldEnd = 0;
    std::unique_ptr<TLogLoad> FLoad;
    std::unique_ptr<TLogExport> FExport;
    QTimer* FJobTimer = nullptr;
    TDecimatedLine FLine;
    QTimer* FRedrawTimer = nullptr;
    QElapsedTimer FSinceRedraw;
    bool FSettingRange = false;
    // What the readout was last made from: a redraw soon after a reading finds it the same.
    struct TReadoutSource {
        const TLambdaSeries* Series = nullptr;
        double From = 0;
        double To = 0;
        double Oldest = 0;
        double Newest = 0;
        double Stoichiometric = 0;
        size_t First = 0;
        size_t Last = 0;
        size_t Size = 0;
        bool operator==(const TReadoutSource&) const = default;
    };
    TReadoutSource FReadoutSource;
};
