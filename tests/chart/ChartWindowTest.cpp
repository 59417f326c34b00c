// The "Lambda Chart" window on the running program against the simulated controller: live
// readings, pause, fuel and typed ratio, choices kept between runs, closing and reopening,
// gaps, and the replay of a data log.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>

#include "chart/CachedStraightLine.h"
#include "chart/ChartWindow.h"
#include "chart/KeptTicker.h"
#include "chart/LambdaPlot.h"
#include "chart/WallClockTicker.h"
#include "datalog/DataLog.h"
#include "datalog/LogFormat.h"
#include "datalog/LogReader.h"
#include "format/Formatting.h"
#include "platform/ErrorDisplay.h"
#include "platform/QtTimer.h"
#include "tests/monitor/UiHarness.h"
#include "widgets/AbLED.h"

namespace {

bool HasBreak(const TLambdaPlot* plot) {
    const auto data = plot->LambdaGraph()->data();
    for (auto it = data->constBegin(); it != data->constEnd(); ++it) {
        if (std::isnan(it->value)) {
            return true;
        }
    }
    return false;
}

// Answers the chart's Open Log dialog with `path` once it is up.
void AnswerOpenDialog(QFileDialog* dialog, const std::string& path) {
    if (!dialog->isVisible()) {
        QTimer::singleShot(10, [dialog, path] { AnswerOpenDialog(dialog, path); });
        return;
    }
    const QFileInfo info(QString::fromStdString(path));
    dialog->setDirectory(info.absolutePath());
    dialog->selectFile(info.fileName());
    QMetaObject::invokeMethod(dialog, "accept");
}

} // namespace

class ChartWindow : public UiHarness {
protected:
    void SetUp() override {
        // The remembered choices go to a folder of the test's own.
        char tmpl[] = "/tmp/uego-chart-XXXXXX";
        SettingsDir = ::mkdtemp(tmpl);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(SettingsDir));
        UiHarness::SetUp();
        Chart = Form1->ChartForm;
        ASSERT_NE(Chart, nullptr);
        QObject::connect(Form1, &TForm1::LiveReadingDecoded, Chart, [this] { ++Decoded; });
    }
    void TearDown() override {
        UiHarness::TearDown();
        std::system(("rm -rf '" + SettingsDir + "'").c_str());
    }

    void StartPolling(TLiveSettings live) {
        TSimConfig config;
        config.Live = live;
        StartSimulator(1, config);
        PressOpen(1);
        ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 2000));
    }
    void OpenChart() {
        Form1->LambdaChart1->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(Chart->isVisible());
    }
    bool WaitForReadings(size_t count) {
        return WaitUntil([&] { return Chart->LiveHistory().Size() >= count; }, 5000);
    }
    std::string NewestLambdaText() const {
        return Chart->ReadoutLambda[rcNewest]->text().toStdString();
    }

    std::string SettingsDir;
    TChartForm* Chart = nullptr;
    size_t Decoded = 0;
};

TEST_F(ChartWindow, EveryDecodedReadingArrivesTenASecondAndIsDrawn) {
    StartPolling({.Lambda = 0.95});
    OpenChart();
    ASSERT_TRUE(WaitForReadings(30));
    const TLambdaSeries& history = Chart->LiveHistory();
    EXPECT_EQ(history.Size(), Decoded);
    const double spacing =
        (history.Newest().Time - history.Oldest().Time) / static_cast<double>(history.Size() - 1);
    EXPECT_GT(spacing, 0.09);
    EXPECT_LT(spacing, 0.15);
    ASSERT_TRUE(WaitUntil([&] { return NewestLambdaText() == "0.950"; }, 1000));
    Pump(300);
    EXPECT_GT(Chart->Plot->LambdaGraph()->dataCount(), 0);
    // The view ends at the newest reading.
    EXPECT_NEAR(Chart->Plot->xAxis->range().upper, history.Newest().Time, 0.5);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(ChartWindow, MinimisedItDrawsNothingAndCatchesUpWhenBroughtBack) {
    StartPolling({.Lambda = 0.95});
    OpenChart();
    ASSERT_TRUE(WaitForReadings(5));
    Pump(300);
    Chart->showMinimized();
    Pump(50);
    int replots = 0;
    QObject::connect(Chart->Plot, &QCustomPlot::afterReplot, [&] { ++replots; });
    const double end = Chart->Plot->xAxis->range().upper;
    ASSERT_TRUE(WaitForReadings(Chart->LiveHistory().Size() + 10));
    Pump(300);
    EXPECT_EQ(replots, 0);
    EXPECT_EQ(Chart->Plot->xAxis->range().upper, end);
    Chart->showNormal();
    Pump(50);
    EXPECT_NEAR(Chart->Plot->xAxis->range().upper, Chart->LiveHistory().Newest().Time, 0.3);
}

TEST_F(ChartWindow, PauseFreezesTheViewWhileReadingsGoOnArriving) {
    StartPolling({.Sweep = true, .SweepPeriodSeconds = 4});
    OpenChart();
    ASSERT_TRUE(WaitForReadings(10));
    Chart->PauseButton->click();
    Pump(100);
    const QCPRange range = Chart->Plot->xAxis->range();
    const int drawn = Chart->Plot->LambdaGraph()->dataCount();
    const std::string newest = NewestLambdaText();
    const size_t kept = Chart->LiveHistory().Size();
    Pump(1000);
    EXPECT_GE(Chart->LiveHistory().Size(), kept + 5);
    EXPECT_EQ(Chart->Plot->xAxis->range(), range);
    EXPECT_EQ(Chart->Plot->LambdaGraph()->dataCount(), drawn);
    EXPECT_EQ(NewestLambdaText(), newest);
    EXPECT_TRUE(Form1->Timer1->Enabled());

    Chart->PauseButton->click();
    Pump(300);
    EXPECT_NEAR(Chart->Plot->xAxis->range().upper, Chart->LiveHistory().Newest().Time, 0.5);
    EXPECT_GT(Chart->Plot->xAxis->range().upper, range.upper + 1);
}

TEST_F(ChartWindow, FuelChangeRelabelsTheAfrAxis) {
    StartPolling({.Lambda = 0.9});
    OpenChart();
    ASSERT_TRUE(WaitForReadings(3));
    EXPECT_EQ(Chart->Plot->AfrAxis()->label(), "AFR (Gasoline, 14.7)");
    // Two steps down the fuel list, by keyboard: E85.
    QTest::keyClick(Chart->FuelBox, Qt::Key_Down);
    QTest::keyClick(Chart->FuelBox, Qt::Key_Down);
    EXPECT_EQ(Chart->Plot->AfrAxis()->label(), "AFR (E85, 9.765)");
    EXPECT_NEAR(Chart->Plot->AfrAxis()->range().lower, 0.65 * 9.765, 1e-9);
    EXPECT_NEAR(Chart->Plot->AfrAxis()->range().upper, 1.35 * 9.765, 1e-9);
    ASSERT_TRUE(WaitUntil([&] { return Chart->ReadoutAfr[rcNewest]->text() == "8.8"; }, 1000));
}

TEST_F(ChartWindow, TypedRatioThatIsNoPositiveNumberIsRefusedWithAMessage) {
    OpenChart();
    QTest::keyClick(Chart->FuelBox, Qt::Key_End); // "Other ratio..."
    ASSERT_TRUE(Chart->RatioEdit->isVisible());
    Chart->RatioEdit->setText("12,5");
    QTest::keyClick(Chart->RatioEdit, Qt::Key_Return);
    EXPECT_EQ(Chart->Plot->AfrAxis()->label(), "AFR (typed ratio, 12.5)");
    for (const char* bad : {"abc", "-4", "0"}) {
        Chart->RatioEdit->setText(bad);
        QTest::keyClick(Chart->RatioEdit, Qt::Key_Return);
        EXPECT_TRUE(Chart->RatioMessage->isVisible()) << bad;
        EXPECT_TRUE(Chart->RatioMessage->text().contains("number above 0")) << bad;
        EXPECT_EQ(Chart->Settings().TypedRatio, 12.5);
        EXPECT_EQ(Chart->Plot->AfrAxis()->label(), "AFR (typed ratio, 12.5)");
    }
    Chart->RatioEdit->setText("9");
    QTest::keyClick(Chart->RatioEdit, Qt::Key_Return);
    EXPECT_FALSE(Chart->RatioMessage->isVisible());
    EXPECT_EQ(Chart->Plot->AfrAxis()->label(), "AFR (typed ratio, 9)");
}

TEST_F(ChartWindow, FuelSpanAndAxisAreRememberedBetweenRuns) {
    OpenChart();
    QTest::keyClick(Chart->SpanBox, Qt::Key_End);  // 1 h
    QTest::keyClick(Chart->AxisBox, Qt::Key_Down); // fit to data
    QTest::keyClick(Chart->FuelBox, Qt::Key_Down); // E10
    TChartForm next;                               // the next run's window
    EXPECT_EQ(next.SpanBox->currentText(), "1 h");
    EXPECT_EQ(next.Span().Seconds(), 3600);
    EXPECT_EQ(next.AxisBox->currentIndex(), 1);
    EXPECT_EQ(next.Plot->AfrAxis()->label(), "AFR (E10, 14.1)");
}

TEST_F(ChartWindow, ClosingAndReopeningKeepsTheWindowAndItsHistory) {
    StartPolling({.Lambda = 1.0});
    OpenChart();
    ASSERT_TRUE(WaitForReadings(5));
    TChartForm* const first = Chart;
    Chart->close();
    EXPECT_FALSE(Chart->isVisible());
    const size_t kept = Chart->LiveHistory().Size();
    Pump(500);
    Form1->LambdaChart1->trigger();
    EXPECT_EQ(Form1->ChartForm, first);
    EXPECT_TRUE(Chart->isVisible());
    EXPECT_GE(Chart->LiveHistory().Size(), kept + 3); // recorded while hidden
    // A setup dialog disables the main window; the chart stays usable.
    Form1->setEnabled(false);
    EXPECT_TRUE(Chart->isEnabled());
    Form1->setEnabled(true);
}

TEST_F(ChartWindow, SilenceAndOfflineShowAsGaps) {
    StartPolling({.Lambda = 1.0});
    OpenChart();
    ASSERT_TRUE(WaitForReadings(10));
    EXPECT_FALSE(HasBreak(Chart->Plot));
    Sim->SetScenario({.Silent = true});
    ASSERT_TRUE(WaitUntil([] { return Form1->OFFLINE->Checked(); }, 3000));
    Sim->SetScenario({});
    ASSERT_TRUE(WaitUntil([] { return Form1->ONLINE->Checked(); }, 2000));
    const size_t before = Chart->LiveHistory().Size();
    ASSERT_TRUE(WaitForReadings(before + 5));
    Pump(300);
    EXPECT_TRUE(HasBreak(Chart->Plot));
}

TEST_F(ChartWindow, ReplayShowsALogPausedAndLiveReturns) {
    StartPolling({.Lambda = 1.0});
    OpenChart();
    const std::string path = TempPath("drive.txt");
    {
        TDataLog log;
        log.Create(path);
        std::tm t = LocalNow();
        t.tm_hour = 14;
        t.tm_min = 3;
        log.WriteLine(LogHeaderLine(t));
        for (int i = 0; i < 30; ++i) {
            t.tm_sec = 10 + i / 10;
            log.WriteLine(LogDataLine(0.8 + i * 0.01, t, 12.5));
        }
        log.WriteLine("0.9x,14:03:13, 12.5");
        log.Close();
    }
    QTimer::singleShot(0, [this, path] { AnswerOpenDialog(Chart->OpenLogDialog, path); });
    Chart->OpenLogButton->click();
    // The log is read on a thread of its own.
    ASSERT_TRUE(WaitUntil([&] { return Chart->Replaying() || !Errors.empty(); }, 5000));
    ASSERT_TRUE(Errors.empty()) << Errors.front();
    EXPECT_EQ(Chart->windowTitle(), "Lambda Chart - drive.txt");
    EXPECT_TRUE(Chart->Replaying());
    EXPECT_EQ(Chart->Shown().Size(), 30u);
    EXPECT_TRUE(Chart->PauseButton->isChecked());
    EXPECT_TRUE(Chart->LiveButton->isEnabled());
    EXPECT_TRUE(Chart->StatusText->text().contains("1 line could not be read"));
    EXPECT_LE(Chart->Plot->xAxis->range().lower, Chart->Shown().Oldest().Time);
    Pump(300); // live readings go on into the history, not into the view
    EXPECT_EQ(Chart->Plot->xAxis->range().lower + Chart->Span().Seconds(),
              Chart->Plot->xAxis->range().upper);
    EXPECT_EQ(NewestLambdaText(), "1.090");

    // A file that is not a log: a message, and the replay stays as it was.
    const std::string other = TempPath("picture.txt");
    std::ofstream(other) << "\x89PNG\r\n\x1a\n";
    GuardedCall([&] { Chart->OpenLogFile(other); });
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_NE(Errors[0].find("is not a WBX4100 data log"), std::string::npos) << Errors[0];
    EXPECT_EQ(Chart->windowTitle(), "Lambda Chart - drive.txt");
    EXPECT_EQ(Chart->Shown().Size(), 30u);

    Chart->LiveButton->click();
    EXPECT_EQ(Chart->windowTitle(), "Lambda Chart");
    EXPECT_FALSE(Chart->Replaying());
    EXPECT_FALSE(Chart->PauseButton->isChecked());
    ASSERT_TRUE(WaitUntil([&] { return NewestLambdaText() == "1.000"; }, 1000));
}

namespace {

// The process's time zone for the life of the object.
class TScopedTimeZone {
public:
    explicit TScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            FOld = old;
            FHadOld = true;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TScopedTimeZone() {
        if (FHadOld) {
            ::setenv("TZ", FOld.c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::string FOld;
    bool FHadOld = false;
};

// Pixels of the plotting area drawn in the lambda line's colour.
int LinePixels(TLambdaPlot* plot) {
    const QImage image = plot->toPixmap().toImage();
    const QColor line = plot->LambdaGraph()->pen().color();
    const QRect area = plot->axisRect()->rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y) == line ? 1 : 0;
        }
    }
    return count;
}

// The colour most of the plotting area shows.
QColor PlotBackground(TLambdaPlot* plot) {
    const QImage image = plot->grab().toImage();
    const QRect area = plot->axisRect()->rect();
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); y += 3) {
        for (int x = area.left(); x <= area.right(); x += 3) {
            ++counts[image.pixel(x, y)];
        }
    }
    return QColor(std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                      return a.second < b.second;
                  })->first);
}

} // namespace

TEST_F(ChartWindow, PlotBackgroundFollowsTheNightTheme) {
    OpenChart();
    Pump(50);
    EXPECT_EQ(PlotBackground(Chart->Plot), QColor(Qt::white));
    Form1->NightTheme1->trigger();
    Pump(50);
    const QColor night = PlotBackground(Chart->Plot);
    const QColor nightText = Chart->Plot->xAxis->tickLabelColor();
    Form1->NightTheme1->trigger();
    Pump(50);
    EXPECT_LT(night.lightness(), 60);
    EXPECT_GT(nightText.lightness(), 160);
    EXPECT_EQ(PlotBackground(Chart->Plot), QColor(Qt::white));
}

TEST_F(ChartWindow, ReplayOnTheDaysSummerTimeBeginsAndEndsShowsTheTimesWritten) {
    TScopedTimeZone berlin("Europe/Berlin");
    OpenChart();
    for (const char* date : {"3/31/2024", "10/27/2024"}) {
        const std::string path = TempPath("dst.txt");
        std::ofstream(path, std::ios::binary)
            << "WBX4100 Data Log V1.0  " << date << "\r\n"
            << "0.9,14:00:00, 12.5\r\n0.9,14:00:01, 12.5\r\n0.9,14:00:02, 12.5\r\n";
        Chart->OpenLogFile(path);
        ASSERT_TRUE(
            WaitUntil([&] { return Chart->Replaying() && Chart->Shown().Size() == 3; }, 5000));
        Pump(50);
        EXPECT_TRUE(Chart->ReadoutHeading[rcNewest]->text().contains("14:00:02"))
            << date << ": " << Chart->ReadoutHeading[rcNewest]->text().toStdString();
        Chart->LiveButton->click();
    }
}

TEST(TimeAxisLabels, KeptLabelsGiveWayToANewTimeZoneAndFormat) {
    const auto labelsNow = [](TWallClockTicker& ticker) {
        QVector<double> ticks;
        QVector<QString> labels;
        // 10 s from 2024-06-01 12:00:00 UTC
        ticker.generate(QCPRange(1717243200, 1717243210), QLocale::c(), 'g', 6, ticks, nullptr,
                        &labels);
        return labels;
    };
    TWallClockTicker ticker;
    ticker.setDateTimeFormat("hh:mm:ss");
    QVector<QString> utc, berlin;
    {
        TScopedTimeZone zone("UTC");
        utc = labelsNow(ticker);
    }
    {
        TScopedTimeZone zone("Europe/Berlin");
        berlin = labelsNow(ticker);
    }
    ASSERT_FALSE(utc.isEmpty());
    EXPECT_EQ(utc.first(), "12:00:00");
    EXPECT_EQ(berlin.first(), "14:00:00");
    ticker.setDateTimeFormat("hh:mm");
    TScopedTimeZone zone("UTC");
    EXPECT_EQ(labelsNow(ticker).first(), "12:00");
}

TEST(AxisLabels, AKeptNumberAxisLaysOutAnewWhenItsRangeOrFormatChanges) {
    TKeptTicker kept;
    QCPAxisTicker plain;
    const auto labels = [](QCPAxisTicker& ticker, QCPRange range, int precision) {
        QVector<double> ticks;
        QVector<QString> texts;
        ticker.generate(range, QLocale::c(), 'f', precision, ticks, nullptr, &texts);
        return texts;
    };
    for (const auto& [range, precision] : {std::pair{QCPRange(0.65, 1.35), 2},
                                           {QCPRange(0.65, 1.35), 2},
                                           {QCPRange(0.65, 1.35), 1},
                                           {QCPRange(0.5, 1.5), 1}}) {
        EXPECT_EQ(labels(kept, range, precision), labels(plain, range, precision));
    }
}

TEST(ReferenceLine, APictureOfTheDashedLineLooksAsTheLineDrawnInPlace) {
    QCustomPlot plot;
    plot.resize(420, 260);
    plot.yAxis->setRange(0.65, 1.35);
    const auto lineAt = [&](QCPItemStraightLine* line) {
        line->setPen(QPen(QColor(90, 90, 90), 1, Qt::DashLine));
        line->point1->setCoords(0, 1.0);
        line->point2->setCoords(1, 1.0);
        const QImage image = plot.toPixmap().toImage().convertToFormat(QImage::Format_RGB32);
        plot.removeItem(line);
        return image;
    };
    const QImage inPlace = lineAt(new QCPItemStraightLine(&plot));
    const QImage picture = lineAt(new TCachedStraightLine(&plot));
    int apart = 0;
    for (int y = 0; y < inPlace.height(); ++y) {
        for (int x = 0; x < inPlace.width(); ++x) {
            const QColor a = inPlace.pixelColor(x, y), b = picture.pixelColor(x, y);
            apart += std::abs(a.red() - b.red()) > 2 || std::abs(a.green() - b.green()) > 2 ||
                             std::abs(a.blue() - b.blue()) > 2
                         ? 1
                         : 0;
        }
    }
    EXPECT_EQ(apart, 0);
}

TEST_F(ChartWindow, ReadingsMoreThanASecondApartAreDrawnAsPoints) {
    OpenChart();
    const auto start = std::chrono::system_clock::now();
    const auto monotonic = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i) {
        TDecodedReading reading;
        reading.When = start + std::chrono::seconds(2 * i);
        reading.Monotonic = monotonic + std::chrono::seconds(2 * i);
        reading.Lambda = 0.9;
        reading.Volts = 12.5;
        Chart->AddReading(reading);
    }
    Chart->Redraw();
    Chart->Plot->replot(QCustomPlot::rpImmediateRefresh);
    EXPECT_GT(LinePixels(Chart->Plot), 5 * 4);
}

namespace {

// A reading `seconds` after `monotonic0` by the monotonic clock, its wall clock at `wall`.
TDecodedReading ReadingAt(std::chrono::steady_clock::time_point monotonic0, double seconds,
                          std::chrono::system_clock::time_point wall, double lambda = 0.9) {
    TDecodedReading reading;
    reading.Monotonic =
        monotonic0 + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(seconds));
    reading.When = std::chrono::floor<std::chrono::milliseconds>(wall);
    reading.Lambda = lambda;
    reading.Volts = 12.5;
    return reading;
}

} // namespace

TEST_F(ChartWindow, AWallClockSetBackMovesNoReadingAndHidesNone) {
    OpenChart();
    const auto mono = std::chrono::steady_clock::now();
    const auto wall = std::chrono::system_clock::now();
    using std::chrono::hours;
    using std::chrono::milliseconds;
    // 5 s of readings; the clock is set back 60 s; 5 s more; then, during a 30 s outage, the
    // clock is set back two hours; 5 s more.
    for (int i = 0; i < 50; ++i) {
        Chart->AddReading(ReadingAt(mono, i * 0.1, wall + milliseconds(100 * i)));
    }
    for (int i = 50; i < 100; ++i) {
        Chart->AddReading(ReadingAt(mono, i * 0.1, wall + milliseconds(100 * i - 60000)));
    }
    Chart->LinkStatusChanged(TLinkStatus::Offline);
    for (int i = 0; i < 50; ++i) {
        Chart->AddReading(
            ReadingAt(mono, 40 + i * 0.1, wall + milliseconds(40000 + 100 * i) - hours(2)));
    }
    const TLambdaSeries& history = Chart->LiveHistory();
    ASSERT_EQ(history.Size(), 150u);
    for (size_t i = 1; i < history.Size(); ++i) {
        ASSERT_GT(history.At(i).Time, history.At(i - 1).Time + 0.05) << i;
    }
    // The last 5 s hold the last 50 readings, and the view ends with them.
    const double newest = history.Newest().Time;
    EXPECT_EQ(history.Select(newest - 4.95, newest).Size(), 50u);
    Chart->Redraw();
    EXPECT_NEAR(Chart->Plot->xAxis->range().upper, newest, 1e-6);
    // What the readout and axis say is the wall clock's time.
    EXPECT_NEAR(
        history.WallAt(newest),
        std::chrono::duration<double>((wall + milliseconds(44900) - hours(2)).time_since_epoch())
            .count(),
        0.002);
    EXPECT_NEAR(
        history.WallAt(history.At(60).Time),
        std::chrono::duration<double>((wall + milliseconds(6000 - 60000)).time_since_epoch())
            .count(),
        0.002);
}

TEST_F(ChartWindow, MarkersExportAndTheSmallReplayFixes) {
    OpenChart();
    const auto mono = std::chrono::steady_clock::now();
    const auto wall = std::chrono::system_clock::now();
    for (int i = 0; i < 30; ++i) {
        Chart->AddReading(ReadingAt(mono, i * 0.1, wall + std::chrono::milliseconds(100 * i)));
        if (i == 10) {
            Chart->LogMarkerWritten({1, "Manual mark", WallNow(), 1.0},
                                    ReadingAt(mono, 1.05, wall).Monotonic);
        }
    }
    Chart->Redraw();
    EXPECT_EQ(Chart->Plot->MarkersShown(), 1);

    // Pause, replay a log, go live: still paused.
    Chart->PauseButton->click();
    const std::string exported = TempPath("history.msl");
    Chart->ExportFile(exported, true);
    ASSERT_TRUE(WaitUntil([&] { return !Chart->Busy(); }, 5000));
    EXPECT_TRUE(Errors.empty());
    EXPECT_TRUE(Chart->StatusText->text().contains("Exported 30 readings"));
    const std::string text = ReadWholeFile(exported);
    EXPECT_NE(text.find("\nMARK  001 - Manual mark - "), std::string::npos);

    Chart->OpenLogFile(exported);
    ASSERT_TRUE(WaitUntil([&] { return Chart->Replaying(); }, 5000));
    EXPECT_EQ(Chart->Shown().Size(), 30u);
    EXPECT_EQ(Chart->ShownMarkers().size(), 1u);
    EXPECT_NEAR(Chart->Shown().Newest().Time - Chart->Shown().Oldest().Time, 2.9, 0.002);
    Chart->LiveButton->click();
    EXPECT_TRUE(Chart->PauseButton->isChecked());
    EXPECT_FALSE(Chart->Span().Following());

    // A log whose date cannot be read says so.
    const std::string undated = TempPath("undated.txt");
    std::ofstream(undated, std::ios::binary)
        << "WBX4100 Data Log V1.0  Sonntag\r\n0.9,14:00:00, 12.5\r\n\r\n";
    Chart->OpenLogFile(undated);
    ASSERT_TRUE(WaitUntil([&] { return Chart->Replaying() && Chart->Shown().Size() == 1; }, 5000));
    EXPECT_TRUE(Chart->StatusText->text().contains("\"Sonntag\" could not be read"))
        << Chart->StatusText->text().toStdString();
    // The blank last line is no error.
    EXPECT_FALSE(Chart->StatusText->text().contains("could not be read and"));

    // Images: JPEG for .jpg, and a plain refusal for a type it cannot write.
    const std::string jpeg = TempPath("chart.jpg");
    Chart->SaveImageFile(jpeg);
    EXPECT_EQ(ReadWholeFile(jpeg).substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_THROW(Chart->SaveImageFile(TempPath("chart.gif")), EInOutError);
}

// While following, the plot is drawn from pictures of what stays put and the redrawn rest;
// on screen its plotting area is, pixel for pixel, the plot drawn in full.
TEST_F(ChartWindow, WhileFollowingThePlotLooksAsDrawnInFull) {
    OpenChart();
    const auto mono = std::chrono::steady_clock::now() - std::chrono::seconds(30);
    const auto wall = std::chrono::system_clock::now() - std::chrono::seconds(30);
    for (int i = 0; i < 300; ++i) {
        Chart->AddReading(ReadingAt(mono, i * 0.1, wall + std::chrono::milliseconds(100 * i),
                                    1.0 + 0.3 * std::sin(i / 10.0)));
    }
    for (int pass = 0; pass < 2; ++pass) { // the pictures are kept from the second redraw on
        Chart->Redraw();
        Chart->Plot->replot(QCustomPlot::rpImmediateRefresh);
    }
    // From then on the window draws what moves itself, over the pictures.
    Chart->AddReading(ReadingAt(mono, 30.0, wall + std::chrono::seconds(30), 1.1));
    Chart->Redraw();
    QCoreApplication::processEvents();
    const QImage shown = Chart->Plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage full = Chart->Plot->toPixmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), full.size());
    // The plotting area: tick labels outside it are cached as pictures on screen only.
    const QRect area = Chart->Plot->axisRect()->rect();
    int apart = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            apart += shown.pixel(x, y) != full.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(apart, 0) << "pixels of the plotting area differ from the plot drawn in full";
}
