// MSL and CSV logs from the running window: the save dialog's file types, the Mark button and
// F9, and the readings' times from the monotonic clock.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "UiHarness.h"
#include "monitor/MainWindow.h"
#include "widgets/AbLED.h"
#include "widgets/AbNumEdit.h"
#include "widgets/AbRMeter.h"

class LogFormatWindow : public UiHarness {
protected:
    void SetUp() override {
        UiHarness::SetUp();
        OpenLive(0.987, 12.5);
        ASSERT_TRUE(WaitUntil([] { return Online(); }, 2000));
    }
    // "Log Start" with the file type `filter` chosen and `name` typed.
    void StartTyped(const QString& filter, const QString& name) {
        QTimer::singleShot(0, [this, filter, name] {
            auto* dialog = Form1->SaveTextFileDialog1;
            dialog->setDirectory(QString::fromStdString(PortDir));
            dialog->selectNameFilter(filter);
            emit dialog->filterSelected(filter);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        Form1->LogStart->click();
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
};

TEST_F(LogFormatWindow, TheFileTypeChosenOrTheSuffixTypedDecidesTheFormat) {
    StartTyped("MSL log (*.msl)", "run");
    EXPECT_EQ(Form1->SaveTextFileDialog1->nameFilters(),
              QStringList({"Data log (*.txt)", "MSL log (*.msl)", "CSV (*.csv)"}));
    EXPECT_EQ(Logfile.FileName(), TempPath("run.msl"));
    EXPECT_EQ(Form1->LogKind(), TLogKind::Msl);
    StartTyped("MSL log (*.msl)", "run.csv");
    EXPECT_EQ(Form1->LogKind(), TLogKind::Csv);
    StartTyped("Data log (*.txt)", "plain");
    EXPECT_EQ(Logfile.FileName(), TempPath("plain.txt"));
    EXPECT_EQ(Form1->LogKind(), TLogKind::Text);
    EXPECT_TRUE(Errors.empty());
}

TEST_F(LogFormatWindow, MarkAndF9WriteNumberedMarkersOnlyIntoMslAndCsv) {
    const QRect start = Form1->LogStart->geometry();
    StartLogTo(TempPath("plain.txt"));
    EXPECT_FALSE(Form1->MarkButton->isVisible());
    QTest::keyClick(Form1, Qt::Key_F9);
    StartLogTo(TempPath("drive.msl"));
    Form1->show();
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    ASSERT_TRUE(Form1->MarkButton->isVisible());
    Pump(300);
    Form1->MarkButton->click();
    Pump(200);
    QTest::keyClick(Form1, Qt::Key_F9);
    Pump(300);
    Form1->LogStop->click();
    EXPECT_FALSE(Form1->MarkButton->isVisible());
    // No described control moved, and the button lies on none.
    EXPECT_EQ(Form1->LogStart->geometry(), start);
    for (QWidget* other :
         {static_cast<QWidget*>(Form1->DiskLED), static_cast<QWidget*>(Form1->Lambda1),
          static_cast<QWidget*>(Form1->Meter1)}) {
        EXPECT_FALSE(Form1->MarkButton->geometry().intersects(other->geometry()));
    }
    EXPECT_EQ(ReadWholeFile(TempPath("plain.txt")).find("MARK"), std::string::npos);
    const std::vector<std::string> lines = Lines(ReadWholeFile(TempPath("drive.msl")));
    std::vector<std::string> marks;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(marks),
                 [](const std::string& l) { return l.starts_with("MARK"); });
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_TRUE(marks[0].starts_with("MARK  001 - Manual mark - 20")) << marks[0];
    EXPECT_TRUE(marks[1].starts_with("MARK  002 - Manual mark - 20")) << marks[1];
    // Readings ten a second by the monotonic clock, counted from the start of the log.
    std::vector<double> times;
    for (size_t i = 5; i < lines.size(); ++i) {
        if (!lines[i].starts_with("MARK")) {
            times.push_back(std::stod(lines[i].substr(0, lines[i].find('\t'))));
            EXPECT_NE(lines[i].find("\t0.987\t14.51\t12.5\t0"), std::string::npos) << lines[i];
        }
    }
    ASSERT_GE(times.size(), 5u);
    EXPECT_LT(times.front(), 0.2);
    for (size_t i = 1; i < times.size(); ++i) {
        EXPECT_GT(times[i] - times[i - 1], 0.04);
        EXPECT_LT(times[i] - times[i - 1], 0.3);
    }
    EXPECT_TRUE(Errors.empty());
}
