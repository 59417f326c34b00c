#include "ChartWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "Fuels.h"
#include "LambdaPlot.h"
#include "LogSeries.h"
#include "ReadoutCell.h"
#include "datalog/LogKind.h"
#include "format/Formatting.h"
#include "platform/ErrorDisplay.h"
#include "platform/Exception.h"
#include "platform/QtBind.h"

namespace {

constexpr double FixedLow = 0.65;
constexpr double FixedHigh = 1.35;
constexpr double LongestSpan = 3600;

// The lambda axis fitted to what is drawn, with a little room above and below.
std::pair<double, double> FittedRange(const TDecimatedLine& line) {
    if (std::isnan(line.Low)) {
        return {FixedLow, FixedHigh};
    }
    const double middle = (line.Low + line.High) / 2;
    const double half = std::max((line.High - line.Low) / 2 * 1.1, 0.01);
    return {middle - half, middle + half};
}

double SecondsSinceEpoch(std::chrono::system_clock::time_point when) {
    return std::chrono::duration<double>(when.time_since_epoch()).count();
}

// A readout text goes through its cell, which has the window laid out again only when needed.
void ShowReadout(QLabel* label, const std::string& text) {
    TReadoutCell::Of(label)->SetText(QString::fromStdString(text));
}

std::string ChosenFile(QFileDialog* dialog) {
    const bool accepted = dialog->exec() == QDialog::Accepted;
    // A name typed and taken with Return can leave the name completion's list on screen.
    for (QCompleter* completer : dialog->findChildren<QCompleter*>()) {
        completer->popup()->hide();
    }
    if (!accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return dialog->selectedFiles().first().toStdString();
}

} // namespace

TChartForm::TChartForm(QObject* owner, TChartBuild build)
    : QWidget(nullptr), FOwner(qobject_cast<QWidget*>(owner)),
      FLive(LiveHistoryCapacity, LiveGapSeconds) {
    setObjectName("ChartForm");
    setWindowTitle("Lambda Chart");
    // The program ends with the main window, even while the chart is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (build == TChartBuild::Now) {
        EnsureComponents();
    }
    if (owner != nullptr) {
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
    }
    FSinceRedraw.start();
}

TChartForm::~TChartForm() = default;

void TChartForm::EnsureComponents() {
    if (Plot != nullptr) {
        return;
    }
    CreateComponents();
    ApplySettings();
    ConnectHandlers();
    Plot->SetBands(FBands);
}

void TChartForm::SetBands(const std::vector<TPlotBand>& bands) {
    FBands = bands;
    if (Plot != nullptr) {
        Plot->SetBands(FBands);
    }
}

void TChartForm::setVisible(bool visible) {
    if (visible) {
        EnsureComponents();
    }
    QWidget::setVisible(visible);
}

void TChartForm::ApplySettings() {
    FSettings = LoadChartSettings();
    const auto span = std::find(ChartSpans.begin(), ChartSpans.end(), FSettings.SpanSeconds);
    SpanBox->setCurrentIndex(static_cast<int>(span - ChartSpans.begin()));
    FSpan.Choose(FSettings.SpanSeconds);
    AxisBox->setCurrentIndex(FSettings.FitAxis ? 1 : 0);
    FuelBox->setCurrentIndex(static_cast<int>(FSettings.Fuel));
    RatioEdit->setText(QString::fromStdString(FloatToStr(FSettings.TypedRatio)));
    RatioEdit->setVisible(FSettings.TypedFuel());
    ApplyFuel();
    UpdateModeControls();
}

void TChartForm::ConnectHandlers() {
    Bind(SpanBox, qOverload<int>(&QComboBox::activated), this, &TChartForm::SpanBoxChange);
    Bind(AxisBox, qOverload<int>(&QComboBox::activated), this, &TChartForm::AxisBoxChange);
    Bind(FuelBox, qOverload<int>(&QComboBox::activated), this, &TChartForm::FuelBoxChange);
    Bind(RatioEdit, &QLineEdit::editingFinished, this, &TChartForm::RatioEditDone);
    Bind(PauseButton, &QPushButton::clicked, this, &TChartForm::PauseButtonClick);
    Bind(ClearButton, &QPushButton::clicked, this, &TChartForm::ClearButtonClick);
    Bind(SaveImageButton, &QPushButton::clicked, this, &TChartForm::SaveImageButtonClick);
    Bind(OpenLogButton, &QPushButton::clicked, this, &TChartForm::OpenLogButtonClick);
    Bind(LiveButton, &QPushButton::clicked, this, &TChartForm::LiveButtonClick);
    connect(FRedrawTimer, &QTimer::timeout, this, [this] {
        // A minimised window redraws when it is brought back.
        if (!isMinimized()) {
            GuardedCall([this] { Redraw(); });
        }
    });
    connect(FJobTimer, &QTimer::timeout, this, [this] { GuardedCall([this] { JobTick(); }); });
    Bind(CancelButton, &QPushButton::clicked, this, &TChartForm::CancelButtonClick);
    connect(ExportSpanAction, &QAction::triggered, this,
            [this] { GuardedCall([this] { ExportButtonClick(false); }); });
    connect(ExportWholeAction, &QAction::triggered, this,
            [this] { GuardedCall([this] { ExportButtonClick(true); }); });
    Plot->SetWallClock([this](double time) { return Shown().WallAt(time); });
    connect(Plot, &QCustomPlot::mouseWheel, this,
            [this](QWheelEvent* event) { GuardedCall([&] { PlotWheel(event); }); });
    connect(Plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& range) { GuardedCall([&] { PlotDragged(range); }); });
    Plot->axisRect()->setRangeDrag(Qt::Horizontal);
}

void TChartForm::ShowForm() {
    EnsureComponents(); // the window's size decides its place
    if (!FPlaced) {
        FPlaced = true;
        PlaceBesideOwner();
    }
    show();
    raise();
    activateWindow();
}

void TChartForm::PlaceBesideOwner() {
    if (FOwner == nullptr || FOwner->screen() == nullptr) {
        return;
    }
    // Right of the main window, else left of it, else as far right as the screen allows.
    const QRect area = FOwner->screen()->availableGeometry();
    const QRect owner = FOwner->frameGeometry();
    int x = owner.right() + 1;
    if (x + width() > area.right()) {
        x = owner.left() - width();
    }
    if (x < area.left()) {
        x = std::max(area.left(), area.right() - width());
    }
    const int y =
        std::clamp(owner.top(), area.top(), std::max(area.top(), area.bottom() - height()));
    move(x, y);
}

void TChartForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Redraw();
}

void TChartForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Back from minimised: what came in meanwhile is drawn at once.
    if (event->type() == QEvent::WindowStateChange && Plot != nullptr && isVisible() &&
        !isMinimized() &&
        (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized)) {
        GuardedCall([this] { Redraw(); });
    }
}

bool TChartForm::OnScreen() const {
    return isVisible() && !isMinimized() &&
           (windowHandle() == nullptr || windowHandle()->isExposed());
}

void TChartForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The plot's new width is known once its layout has run.
    FRedrawTimer->start(0);
}

// ---- live readings ---------------------------------------------------------------------

void TChartForm::AddReading(const TDecodedReading& reading) {
    // Never lets an error out: the main window's log line for this reading comes next.
    GuardedCall([&] {
        const double wall = SecondsSinceEpoch(reading.When);
        const double monotonic =
            std::chrono::duration<double>(reading.Monotonic.time_since_epoch()).count();
        if (FLive.Empty()) {
            FLiveAnchor = wall - monotonic;
        }
        // Placed by the monotonic clock: a wall clock set back or forward moves nothing.
        FLive.AppendTimed(monotonic + FLiveAnchor, wall, reading.Lambda, reading.Volts,
                          reading.Warmup);
        while (!FLiveMarkers.empty() && FLiveMarkers.front().Time < FLive.Oldest().Time) {
            FLiveMarkers.erase(FLiveMarkers.begin());
        }
        // Hidden, minimised or off the screen, the window draws nothing.
        if (!OnScreen() || Replaying() || !FSpan.Following()) {
            return;
        }
        // The readout shows every reading; a redraw brings it up to date as well.
        if (!RedrawIfDue()) {
            const auto [from, to] = FSpan.Range(NewestTime());
            UpdateReadout(from, to);
        }
    });
}

void TChartForm::LinkStatusChanged(TLinkStatus status) {
    if (status == TLinkStatus::Offline || status == TLinkStatus::DeviceGone) {
        FLive.MarkGap();
    }
}

void TChartForm::LogMarkerWritten(const TLogMarker& marker,
                                  std::chrono::steady_clock::time_point monotonic) {
    const double at = std::chrono::duration<double>(monotonic.time_since_epoch()).count();
    FLiveMarkers.push_back(
        {FLive.Empty() ? EpochSeconds(marker.Wall) : at + FLiveAnchor, marker.Text});
    if (isVisible() && !Replaying()) {
        FRedrawTimer->start(0);
    }
}

double TChartForm::NewestTime() const {
    const TLambdaSeries& shown = Shown();
    if (!shown.Empty()) {
        return shown.Newest().Time;
    }
    return SecondsSinceEpoch(std::chrono::system_clock::now());
}

// ---- drawing ---------------------------------------------------------------------------

bool TChartForm::RedrawIfDue() {
    // A column of the plot stands for span / width seconds: redrawing more often than a
    // column fills changes little, so long spans redraw less often, but at least once a second.
    const double perColumnMs = 1000 * FSpan.Seconds() / Plot->Columns();
    const qint64 interval = std::clamp<qint64>(std::llround(perColumnMs), 100, 1000);
    // Readings come every 100 ms, give or take a little. Where a column fills faster than
    // that, a reading that comes a little early is drawn at once: a timer a millisecond or two
    // later would wake the program once more for every reading, to draw the same.
    const qint64 early =
        std::clamp<qint64>(interval - static_cast<qint64>(std::ceil(perColumnMs)), 0, 20);
    const qint64 since = FSinceRedraw.elapsed();
    if (since >= interval - early) {
        Redraw();
        return true;
    }
    if (!FRedrawTimer->isActive()) {
        FRedrawTimer->start(static_cast<int>(interval - since));
    }
    return false;
}

void TChartForm::Redraw() {
    FRedrawTimer->stop();
    FSinceRedraw.restart();
    const TLambdaSeries& shown = Shown();
    const auto [from, to] = FSpan.Range(NewestTime());
    DecimateSeries(shown, from, to, Plot->Columns(), FLine);
    const auto [low, high] =
        FSettings.FitAxis ? FittedRange(FLine) : std::pair{FixedLow, FixedHigh};
    FSettingRange = true;
    Plot->SetFollowing(FSpan.Following() && !Replaying());
    Plot->ShowLine(FLine, from, to, low, high);
    FSettingRange = false;
    std::vector<double> marks;
    for (const TChartMarker& marker : ShownMarkers()) {
        if (marker.Time >= from && marker.Time <= to) {
            marks.push_back(marker.Time);
        }
    }
    Plot->ShowMarkers(marks);
    Plot->setInteraction(QCP::iRangeDrag, !FSpan.Following());
    UpdateReadout(from, to);
}

void TChartForm::UpdateReadout(double from, double to) {
    const TLambdaSeries& shown = Shown();
    const TIndexRange range = shown.Select(from, to);
    TReadoutSource source{&shown,      from,       to,          0, 0, FSettings.Stoichiometric(),
                          range.First, range.Last, shown.Size()};
    if (!shown.Empty()) {
        source.Oldest = shown.Oldest().Time;
        source.Newest = shown.Newest().Time;
    }
    if (source == FReadoutSource) {
        return; // shown already: twelve texts are not formatted again
    }
    FReadoutSource = source;
    // The newest reading in view, at the time its wall clock showed.
    TSeriesPoint newest;
    if (!range.Empty()) {
        newest = shown.At(range.Last - 1);
        newest.Time = shown.WallAt(newest.Time);
    }
    const TReadoutTexts texts = MakeReadout(range.Empty() ? nullptr : &newest, shown.Stats(range),
                                            to - from, FSettings.Stoichiometric());
    for (int column = 0; column < rcCount; ++column) {
        ShowReadout(ReadoutHeading[column], texts.Heading[column]);
        ShowReadout(ReadoutLambda[column], texts.Lambda[column]);
        ShowReadout(ReadoutAfr[column], texts.Afr[column]);
    }
}

void TChartForm::PlotWheel(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) {
        return;
    }
    const double anchor = Plot->xAxis->pixelToCoord(event->position().x());
    const TLambdaSeries& shown = Shown();
    const double extent = shown.Empty() ? 0 : shown.Newest().Time - shown.Oldest().Time;
    FSpan.Zoom(std::pow(0.8, notches), anchor, std::max(LongestSpan, extent));
    Redraw();
}

void TChartForm::PlotDragged(const QCPRange& range) {
    if (FSettingRange || FSpan.Following()) {
        return;
    }
    FSpan.Show(range.lower, range.upper);
    Redraw();
}

// ---- choices ---------------------------------------------------------------------------

void TChartForm::SpanBoxChange(int index) {
    if (index < 0 || index >= static_cast<int>(ChartSpans.size())) {
        return;
    }
    FSettings.SpanSeconds = ChartSpans[static_cast<size_t>(index)];
    // Held, the new span keeps the view's end where it is.
    FSpan.Choose(FSettings.SpanSeconds);
    SaveChartSettings(FSettings);
    Redraw();
}

void TChartForm::AxisBoxChange(int index) {
    FSettings.FitAxis = index == 1;
    SaveChartSettings(FSettings);
    Redraw();
}

void TChartForm::FuelBoxChange(int index) {
    if (index < 0) {
        return;
    }
    FSettings.Fuel = static_cast<size_t>(index);
    RatioEdit->setVisible(FSettings.TypedFuel());
    SetRatioMessage({});
    if (FSettings.TypedFuel()) {
        RatioEdit->setFocus();
        RatioEdit->selectAll();
    }
    SaveChartSettings(FSettings);
    ApplyFuel();
}

void TChartForm::RatioEditDone() {
    const std::string text = RatioEdit->text().toStdString();
    const std::optional<double> ratio = ParseStoichiometricRatio(text);
    if (!ratio) {
        // The ratio in use stays; the message says why the text was not taken.
        SetRatioMessage(QString("\"%1\" is not a ratio: type a number above 0 and up to %2, "
                                "such as %3. The AFR axis stays at %4.")
                            .arg(RatioEdit->text(),
                                 QString::fromStdString(FloatToStr(MaxStoichiometric)),
                                 QString::fromStdString(FloatToStr(14.7)),
                                 QString::fromStdString(FloatToStr(FSettings.Stoichiometric()))));
        return;
    }
    SetRatioMessage({});
    FSettings.TypedRatio = *ratio;
    SaveChartSettings(FSettings);
    ApplyFuel();
}

void TChartForm::SetRatioMessage(const QString& text) {
    RatioMessage->setText(text);
    RatioMessage->setVisible(!text.isEmpty());
}

TLogFuel TChartForm::Fuel() const {
    return {FuelName(), FSettings.Stoichiometric()};
}

std::string TChartForm::FuelName() const {
    return FSettings.TypedFuel() ? std::string("typed ratio")
                                 : std::string(StandardFuels()[FSettings.Fuel].Name);
}

void TChartForm::ApplyFuel() {
    const double ratio = FSettings.Stoichiometric();
    Plot->SetFuel(ratio, QString::fromStdString(AfrAxisLabel(FuelName(), ratio)));
    emit FuelChanged(ratio, QString::fromStdString(FuelName()));
    const auto [from, to] = FSpan.Range(NewestTime());
    UpdateReadout(from, to);
}

// ---- pause, clear, image ---------------------------------------------------------------

void TChartForm::PauseButtonClick(bool paused) {
    if (Replaying()) {
        return;
    }
    if (paused) {
        FSpan.Hold(FSpan.Range(NewestTime()).second);
    } else {
        FSpan.Follow();
    }
    UpdateModeControls();
    Redraw();
}

void TChartForm::ClearButtonClick() {
    FLive.Clear();
    FLiveMarkers.clear();
    Redraw();
}

void TChartForm::SaveImageButtonClick() {
    CreateDialogs();
    const std::string path = ChosenFile(SaveImageDialog);
    if (!path.empty()) {
        SaveImageFile(path);
    }
}

void TChartForm::SaveImageFile(const std::string& path) {
    const QString suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower();
    const char* format = suffix == "png"                       ? "PNG"
                         : suffix == "jpg" || suffix == "jpeg" ? "JPG"
                                                               : nullptr;
    if (format == nullptr) {
        throw EInOutError("Cannot write the image " + path +
                          ": images are saved as PNG (.png) or JPEG (.jpg).");
    }
    Redraw();
    Plot->replot(QCustomPlot::rpImmediateRefresh);
    if (!ChartArea->grab().save(QString::fromStdString(path), format)) {
        throw EInOutError("Cannot write the image " + path + ".");
    }
}

// ---- log replay ------------------------------------------------------------------------

void TChartForm::OpenLogButtonClick() {
    CreateDialogs();
    const std::string path = ChosenFile(OpenLogDialog);
    if (!path.empty()) {
        OpenLogFile(path);
    }
}

void TChartForm::OpenLogFile(const std::string& path) {
    if (FExport) {
        throw EInOutError("A log is being exported: wait for it, or cancel it, first.");
    }
    TLogReadOptions options;
    options.Fuel = Fuel();
    // A file that is no log is refused here, before anything changes.
    auto load = std::make_unique<TLogLoad>(path, options);
    FLoad = std::move(load);
    JobStarted("Reading " + QFileInfo(QString::fromStdString(path)).fileName().toStdString());
}

void TChartForm::ExportButtonClick(bool whole) {
    CreateDialogs();
    const std::string path = ChosenFile(ExportDialog);
    if (!path.empty()) {
        ExportFile(path, whole);
    }
}

void TChartForm::ExportFile(const std::string& path, bool whole) {
    if (Busy()) {
        throw EInOutError("A log is being read or exported: wait for it, or cancel it, first.");
    }
    const TLogKind kind = LogKindOfPath(path).value_or(TLogKind::Msl);
    if (kind == TLogKind::Text) {
        throw EInOutError("Cannot export to " + path +
                          ": choose an MSL (.msl) or CSV (.csv) file.");
    }
    // The live history goes on changing: what is exported is a copy of it.
    std::shared_ptr<const TLambdaSeries> series;
    if (FReplay) {
        series = std::shared_ptr<const TLambdaSeries>(FReplay, &FReplay->Series);
    } else {
        series = std::make_shared<const TLambdaSeries>(FLive);
    }
    TIndexRange range{0, series->Size()};
    if (!whole) {
        const auto [from, to] = FSpan.Range(NewestTime());
        range = series->Select(from, to);
    }
    FExport = std::make_unique<TLogExport>(path, kind, Fuel(), series, range, ShownMarkers());
    JobStarted("Exporting to " + path);
}

void TChartForm::CancelButtonClick() {
    if (FLoad) {
        FLoad->Job().Cancel();
    }
    if (FExport) {
        FExport->Job().Cancel();
    }
}

void TChartForm::JobStarted(const std::string& status) {
    FJobName = status;
    FJobStatus = status + "...";
    OpenLogButton->setEnabled(false);
    ExportButton->setEnabled(false);
    CancelButton->setVisible(true);
    FJobTimer->start();
    UpdateModeControls();
}

void TChartForm::JobTick() {
    TChartJob* job = FLoad ? &FLoad->Job() : FExport ? &FExport->Job() : nullptr;
    if (job == nullptr) {
        FJobTimer->stop();
        return;
    }
    if (!job->Finished()) {
        FJobStatus = FJobName + ": " + std::to_string(std::lround(job->Progress() * 100)) +
                     " %. Live readings go on being recorded.";
        UpdateModeControls();
        return;
    }
    FJobTimer->stop();
    CancelButton->setVisible(false);
    OpenLogButton->setEnabled(true);
    ExportButton->setEnabled(true);
    FJobStatus.clear();
    const bool cancelled = job->Cancelled();
    if (FLoad) {
        const std::unique_ptr<TLogLoad> load = std::move(FLoad);
        std::shared_ptr<TReplayLog> replay;
        try {
            replay = load->Take();
        } catch (...) {
            UpdateModeControls();
            throw;
        }
        if (replay) {
            ShowReplay(replay);
        } else {
            UpdateModeControls();
        }
        return;
    }
    const std::unique_ptr<TLogExport> exporting = std::move(FExport);
    try {
        exporting->Finish();
    } catch (...) {
        UpdateModeControls();
        throw;
    }
    FJobStatus =
        cancelled ? "Export cancelled: " + exporting->Path() + " holds the readings written so far."
                  : "Exported " + std::to_string(exporting->Count()) + " readings to " +
                        exporting->Path() + ".";
    UpdateModeControls();
    FJobStatus.clear();
}

std::string TChartForm::ReplayStatus(const TReplayLog& replay) const {
    const TLogSummary& summary = replay.Summary;
    std::string status = replay.Name + ": " + std::to_string(replay.Series.Size()) + " readings";
    if (summary.Date) {
        status += " from " + DateToStr(CalendarDay(*summary.Date));
    }
    status += ".";
    if (summary.DateUnread) {
        status += summary.DateText.empty() ? " Its date is missing: shown on today's date."
                                           : " Its date \"" + summary.DateText +
                                                 "\" could not be read: shown on today's date.";
    }
    if (summary.LambdaFromAfr) {
        status += " Lambda is its AFR divided by " + FloatToStr(FSettings.Stoichiometric()) + " (" +
                  FuelName() + ").";
    }
    if (summary.SkippedLines > 0) {
        status += " " + std::to_string(summary.SkippedLines) +
                  (summary.SkippedLines == 1 ? " line" : " lines") + " could not be read and " +
                  (summary.SkippedLines == 1 ? "was" : "were") + " skipped.";
    }
    return status;
}

void TChartForm::ShowReplay(std::shared_ptr<TReplayLog> replay) {
    if (!Replaying()) {
        FLiveHeld = !FSpan.Following();
        FLiveHeldEnd = FSpan.Range(NewestTime()).second;
    }
    FReplay = std::move(replay);
    setWindowTitle(QString::fromStdString("Lambda Chart - " + FReplay->Name));
    FReplayStatus = ReplayStatus(*FReplay);
    // The replay starts at the log's first reading.
    const double start = FReplay->Series.Empty() ? NewestTime() : FReplay->Series.Oldest().Time;
    FSpan.Hold(start + FSpan.Seconds());
    UpdateModeControls();
    Redraw();
}

void TChartForm::LiveButtonClick() {
    FReplay.reset();
    FReplayStatus.clear();
    setWindowTitle("Lambda Chart");
    // The live view as it was left: paused where it was, or following.
    if (FLiveHeld) {
        FSpan.Hold(FLiveHeldEnd);
    } else {
        FSpan.Follow();
    }
    FLiveHeld = false;
    UpdateModeControls();
    Redraw();
}

void TChartForm::UpdateModeControls() {
    const bool replaying = Replaying();
    PauseButton->setEnabled(!replaying);
    PauseButton->setChecked(replaying || !FSpan.Following());
    ClearButton->setEnabled(!replaying);
    LiveButton->setEnabled(replaying);
    ExportWholeAction->setText(replaying ? "Whole log..." : "Whole history...");
    if (!FJobStatus.empty()) {
        StatusText->setText(QString::fromStdString(FJobStatus));
    } else if (replaying) {
        StatusText->setText(QString::fromStdString(FReplayStatus) +
                            " Drag to move through the log; the wheel zooms.");
    } else if (!FSpan.Following()) {
        StatusText->setText("Paused: new readings are still recorded. Drag to move back in "
                            "time; the wheel zooms.");
    } else {
        StatusText->setText("Live: the wheel zooms.");
    }
}
