// The setup windows reach the line only through the interface the main window hands them:
// here a recorder stands in for the main window and keeps every step in order.
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "dialogs/SensorSetupDialog.h"
#include "tests/support/QtTestApp.h"

namespace {
class TLineRecorder : public TDialogLine {
public:
    std::vector<std::string> Steps;
    QWidget Window;

    QWidget* MainWindow() override { return &Window; }
    TVaComm* Port() override { return nullptr; }
    void Sendbyte(uint8_t data) override { Steps.push_back("byte " + std::to_string(data)); }
    void SetPolling(bool on) override { Steps.push_back(on ? "polling on" : "polling off"); }
    void StopPollTimer() override { Steps.push_back("timer off"); }
    void PurgeRead() override { Steps.push_back("purge"); }
    void SetDiagnosticsCell(int col, int row, const QString& text) override {
        Steps.push_back("cell " + std::to_string(col) + "," + std::to_string(row) + " " +
                        text.toStdString());
    }
    bool Online() const override { return true; }
    bool LiveReplyExpected() const override { return false; }
    void ExpectReply(TExpectedReply reply) override {
        Steps.push_back("expect " + std::to_string(static_cast<int>(reply)));
    }
    uint8_t CanSpeed() const override { return 0; }
    void SetCanSpeed(uint8_t) override {}
    void SetLinkMenuEnabled(bool) override {}
    void ForgetLostDevice() override {}
};
} // namespace

TEST(DialogLine, SensorSetupReadHoldsPollingAndPurgesBeforeTheRequestGoesOut) {
    TestApp();
    TLineRecorder line;
    TCalForm dialog(line);
    dialog.ReadButton1Click();
    const std::vector<std::string> expected = {"timer off", "polling off", "purge",  "byte 192",
                                               "byte 6",    "byte 96",     "byte 0", "byte 5",
                                               "byte 212",  "expect 1"};
    EXPECT_EQ(line.Steps, expected);
}
