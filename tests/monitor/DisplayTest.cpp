// The driver's instrument on the real main window against the simulated controller: bands
// on the dial, the lean alarm with its sound (through a recorder), peaks, units and damping,
// the dash view and the night theme. With everything off the window is as laid out.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <cmath>
#include <numbers>

#include "UiHarness.h"
#include "chart/ChartWindow.h"
#include "dialogs/DisplayDialog.h"
#include "monitor/AlarmSound.h"
#include "monitor/BigNumber.h"
#include "monitor/DashWindow.h"
#include "monitor/DialLook.h"
#include "monitor/Instrument.h"
#include "monitor/MainWindow.h"
#include "monitor/NightTheme.h"
#include "widgets/AbLED.h"
#include "widgets/AbMeterFactory.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"

namespace {

// Records what the main window asks of the alarm's sound.
struct TSoundRecord {
    int Made = 0;
    int Starts = 0;
    int Stops = 0;
    bool Playing = false;
    std::string Problem;
};

class TRecordingSound : public TAlarmSound {
public:
    explicit TRecordingSound(TSoundRecord& record) : FRecord(record) { ++FRecord.Made; }
    void Start() override {
        ++FRecord.Starts;
        FRecord.Playing = true;
    }
    void Stop() override {
        ++FRecord.Stops;
        FRecord.Playing = false;
    }
    std::string Problem() const override { return FRecord.Problem; }

private:
    TSoundRecord& FRecord;
};

// A point `radius` from `centre` at `degrees` (0 straight up, clockwise).
QPoint AtAngle(QPointF centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return QPointF(centre.x() + radius * std::sin(a), centre.y() - radius * std::cos(a)).toPoint();
}

double DialAngle(double value, const TDialScale& scale) {
    return 225 + (value - scale.From) / (scale.To - scale.From) * 270;
}

} // namespace

class DriverDisplay : public UiHarness {
protected:
    void SetUp() override {
        // The remembered choices go to a folder of the test's own.
        char tmpl[] = "/tmp/uego-display-XXXXXX";
        SettingsDir = ::mkdtemp(tmpl);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(SettingsDir));
        UiHarness::SetUp();
        Form1->SetAlarmSoundFactory([this] { return std::make_unique<TRecordingSound>(Sound); });
    }
    void TearDown() override {
        UiHarness::TearDown();
        ApplyNightTheme(false);
        std::system(("rm -rf '" + SettingsDir + "'").c_str());
    }
    bool TitleIs(const std::string& title, int timeoutMs = 2000) {
        return WaitUntil([&] { return Form1->windowTitle().toStdString() == title; }, timeoutMs);
    }

    std::string SettingsDir;
    TSoundRecord Sound;
};

TEST_F(DriverDisplay, BandsLieAtTheLimitsOnTheDialInLambdaAndAfr) {
    for (double ratio : {0.0, 14.7}) {
        TAb270Meter meter;
        ConfigureMeter1(meter);
        TDisplaySettings s;
        s.Bands = true;
        s.Limits.Target = true; // 0.97 to 1.03
        s.Units = ratio > 0 ? TDisplayUnits::Afr : TDisplayUnits::Lambda;
        const TDialLook look = DialLookFor(s, ratio);
        ApplyDialLook(meter, look);
        QImage image(meter.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        meter.render(&image);

        // The band is a ring inside the ticks: the pointer square less the major ticks.
        const TRect& square = meter.rPointer();
        const int inner = square.Width() - 2 * meter.ScaleSettings().sl1();
        const double radius = inner / 2.0 - inner / 10 / 2.0;
        const QPointF centre((square.Left + square.Right) / 2.0,
                             (square.Top + square.Bottom) / 2.0);
        const QRgb face = ToQColor(clBtnFace, meter.palette()).rgb();
        auto colourAt = [&](double lambda, double offset) {
            return image.pixel(
                AtAngle(centre, radius, DialAngle(look.Scale.Shown(lambda), look.Scale) + offset));
        };
        const QRgb rich = ToQColor(RichBandColor).rgb();
        const QRgb target = ToQColor(TargetBandColor).rgb();
        const QRgb lean = ToQColor(LeanBandColor).rgb();
        SCOPED_TRACE(ratio);
        EXPECT_EQ(colourAt(0.80, -3), rich);
        EXPECT_EQ(colourAt(0.80, +3), face);
        EXPECT_EQ(colourAt(0.97, -3), face);
        EXPECT_EQ(colourAt(0.97, +3), target);
        EXPECT_EQ(colourAt(1.03, -3), target);
        EXPECT_EQ(colourAt(1.03, +3), face);
        EXPECT_EQ(colourAt(1.05, -3), face);
        EXPECT_EQ(colourAt(1.05, +3), lean);
        if (ratio > 0) {
            EXPECT_EQ(meter.ScaleSettings().Labels().front(), "9");
            EXPECT_EQ(meter.ScaleSettings().Labels().back(), "20");
        }
    }
}

TEST_F(DriverDisplay, LeanAlarmShowsAndSoundsUntilAcknowledged) {
    Sound.Problem = "No audio output device: the alarm shows, but cannot sound.";
    OpenLive(1.00);
    ASSERT_TRUE(LambdaShows("1.00"));
    TDisplaySettings s;
    s.LeanAlarm = true;
    Form1->ApplyDisplaySettings(s);
    EXPECT_EQ(Sound.Made, 0); // no sound asked for, none made
    s.Sound = true;
    Form1->ApplyDisplaySettings(s);
    EXPECT_EQ(Sound.Made, 1);

    Sim->SetLambda(1.20);
    ASSERT_TRUE(TitleIs("LEAN - UEGO 4100 Interface"));
    EXPECT_TRUE(Form1->Meter1->Flashing());
    EXPECT_EQ(Form1->Lambda1->palette().color(QPalette::Text), QColor(230, 0, 0));
    EXPECT_TRUE(Sound.Playing);

    // Space acknowledges: the tone stops, the alarm still shows.
    Form1->activateWindow();
    QTest::keyClick(Form1, Qt::Key_Space);
    EXPECT_FALSE(Sound.Playing);
    EXPECT_EQ(Form1->windowTitle(), "LEAN - UEGO 4100 Interface");

    Sim->SetLambda(1.00);
    ASSERT_TRUE(TitleIs("UEGO 4100 Interface"));
    EXPECT_FALSE(Form1->Meter1->Flashing());
    EXPECT_EQ(Form1->Lambda1->palette().color(QPalette::Text),
              QApplication::palette(Form1->Lambda1).color(QPalette::Text));

    // Without an audio device: one line in the Display window, never a message box.
    Form1->Display1Click();
    EXPECT_TRUE(Form1->DisplayForm->SoundMessage->isVisible());
    EXPECT_EQ(Form1->DisplayForm->SoundMessage->text().toStdString(), Sound.Problem);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(DriverDisplay, PeaksCountOnlyReadingsAfterWarmUp) {
    TSimConfig config;
    config.Live.WarmupSeconds = 1.0;
    OpenLive(1.30, 13.8, config);
    TDisplaySettings s;
    s.PeakHold = true;
    Form1->ApplyDisplaySettings(s);
    ASSERT_TRUE(WaitUntil([] { return Form1->WarmupLED->Checked(); }, 2000));
    Pump(300);
    Sim->SetLambda(0.90);
    ASSERT_TRUE(WaitUntil([] { return !Form1->WarmupLED->Checked(); }, 3000));
    Pump(300);
    TInstrument* instrument = Form1->Instrument();
    ASSERT_NE(instrument, nullptr);
    EXPECT_DOUBLE_EQ(instrument->PeakLow(), 0.90);
    EXPECT_DOUBLE_EQ(instrument->PeakHigh(), 0.90); // 1.30 came during warm-up
    EXPECT_FLOAT_EQ(Form1->Meter1->MinMax().Max(), 0.90f);
    EXPECT_TRUE(Form1->Meter1->MinMax().MaxVisible());

    Form1->ResetPeaks();
    EXPECT_TRUE(std::isnan(instrument->PeakHigh()));
    EXPECT_EQ(Form1->Meter1->MinMax().Max(), TMinMax::MaxSentinel);
}

TEST_F(DriverDisplay, AfrAndDampingChangeOnlyWhatIsShown) {
    OpenLive(1.00);
    ASSERT_TRUE(LambdaShows("1.00"));
    TDisplaySettings s;
    s.Units = TDisplayUnits::Afr;
    s.DampingSeconds = 2.0;
    Form1->ApplyDisplaySettings(s);
    ASSERT_TRUE(LambdaShows("14.7")); // gasoline, one decimal
    EXPECT_EQ(Form1->Meter1->SignalSettings().Name1(), "AFR");
    EXPECT_FLOAT_EQ(Form1->Meter1->SignalSettings().ValueFrom(), 9);

    // A step to lambda 1.2 (AFR 17.64) shows slowly; the chart records it at once.
    Sim->SetLambda(1.20);
    ASSERT_TRUE(
        WaitUntil([] { return Form1->ChartForm->LiveHistory().Newest().Lambda == 1.20f; }, 2000));
    Pump(300);
    const double shown = Form1->Lambda1->Value();
    EXPECT_GT(shown, 14.8);
    EXPECT_LT(shown, 17.0);
    EXPECT_DOUBLE_EQ(Lambda, 1.20);
    // One fuel for both windows: E85 chosen in the chart relabels the dial.
    Form1->ChartForm->ShowForm();
    Form1->ChartForm->FuelBox->setCurrentIndex(2);
    emit Form1->ChartForm->FuelBox->activated(2);
    EXPECT_FLOAT_EQ(Form1->Meter1->SignalSettings().ValueFrom(), 6);

    // Everything off again: the window and its dial are as laid out.
    Form1->ApplyDisplaySettings(TDisplaySettings());
    EXPECT_EQ(Form1->Instrument(), nullptr);
    ASSERT_TRUE(LambdaShows("1.20"));
    TAb270Meter fresh;
    ConfigureMeter1(fresh);
    EXPECT_EQ(Form1->Meter1->SignalSettings().Name1(), "LAMBDA");
    EXPECT_EQ(Form1->Meter1->Options(), fresh.Options());
    EXPECT_EQ(Form1->Meter1->ScaleSettings().Steps(), 14);
    EXPECT_FLOAT_EQ(Form1->Meter1->SignalSettings().ValueFrom(), 0.65f);
    EXPECT_EQ(Form1->Lambda1->FormatStr(), "#0.00#");
}

TEST_F(DriverDisplay, DashOpensFollowsTheReadingsAndLeaves) {
    OpenLive(0.987, 12.5);
    ASSERT_TRUE(LambdaShows("0.987"));
    Form1->activateWindow();
    QTest::keyClick(Form1, Qt::Key_F11);
    ASSERT_NE(Form1->DashForm, nullptr);
    TDashForm* dash = Form1->DashForm;
    ASSERT_TRUE(dash->isVisible());
    EXPECT_TRUE(dash->windowState() & Qt::WindowFullScreen);
    ASSERT_TRUE(WaitUntil([dash] { return dash->Number->Text() == "0.987"; }, 1000));
    EXPECT_EQ(dash->VoltsText->text(), "12.5 V");
    EXPECT_TRUE(dash->OnlineLED->Checked());
    Sim->SetLambda(1.02);
    ASSERT_TRUE(WaitUntil([dash] { return dash->Number->Text() == "1.02"; }, 1000));
    EXPECT_FLOAT_EQ(dash->Dial->Value(), 1.02f);

    QTest::keyClick(dash, Qt::Key_Escape);
    EXPECT_FALSE(dash->isVisible());
    EXPECT_EQ(Text(Form1->Lambda1), "1.02"); // brought up to date once seen again
    Form1->Dash1->trigger();
    ASSERT_TRUE(dash->isVisible());
    QTest::keyClick(dash, Qt::Key_F11);
    EXPECT_FALSE(dash->isVisible());
    EXPECT_TRUE(Errors.empty());
}

TEST_F(DriverDisplay, NightThemeDarkensTheFieldsAndTheDial) {
    // A field that was edited has its background colour set: it follows the theme as well.
    Form1->Value1->SetState(esEditing);
    Form1->Value1->SetState(esNormal);
    TDisplaySettings s;
    s.NightTheme = true;
    Form1->ApplyDisplaySettings(s);
    EXPECT_TRUE(Form1->NightTheme1->isChecked());
    EXPECT_EQ(Form1->Instrument(), nullptr); // colours only
    for (const TAbNumEdit* edit : {Form1->Lambda1, Form1->Value1}) {
        const QPalette field = edit->palette();
        EXPECT_LT(field.color(QPalette::Base).lightness(), 60) << edit->objectName().toStdString();
        EXPECT_GT(field.color(QPalette::Text).lightness(), 160);
    }
    EXPECT_EQ(Form1->Meter1->ScaleSettings().Color(), clWindowText);
    QImage dial = Form1->Meter1->grab().toImage();
    EXPECT_LT(QColor(dial.pixel(20, 160)).lightness(), 80); // the face

    Form1->NightTheme1->trigger(); // back to day
    EXPECT_GT(Form1->Lambda1->palette().color(QPalette::Base).lightness(), 200);
    EXPECT_EQ(Form1->Meter1->ScaleSettings().Color(), clBlack);
    EXPECT_FALSE(LoadDisplaySettings().NightTheme); // remembered
}

#ifdef UEGO_SOUND_MODULE
TEST_F(DriverDisplay, SoundModuleLoadsAndSaysWhetherItCanBeHeard) {
    SetAlarmSoundModule(UEGO_SOUND_MODULE);
    std::unique_ptr<TAlarmSound> sound = CreateAlarmSound();
    SetAlarmSoundModule("");
    sound->Start();
    Pump(300);
    const std::string problem = sound->Problem();
    EXPECT_EQ(problem.find("cannot be loaded"), std::string::npos) << problem;
    sound->Stop();
    EXPECT_TRUE(Errors.empty());
}
#endif

TEST(BigNumber, KeptGlyphsShowTheInkOfTheMoment) {
    TBigNumber number;
    number.resize(300, 120);
    number.SetText("0.85");
    const QColor alarm(230, 30, 30);
    const auto showsAlarmInk = [&] {
        const QImage image = number.grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == alarm) {
                    return true;
                }
            }
        }
        return false;
    };
    // The alarm comes and goes, and comes back with glyphs kept from its first time.
    for (const bool alarmOn : {false, true, false, true}) {
        number.SetColor(alarmOn ? alarm : QColor());
        EXPECT_EQ(showsAlarmInk(), alarmOn);
    }
}
