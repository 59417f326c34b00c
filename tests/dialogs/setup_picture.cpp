// The plug picture beside the resistance field: proportional layout, the pixels it paints,
// and both setup windows rendered as a user sees them.
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <cstdlib>

#include "dialogs/PlugPicture.h"
#include "dialogs/SensorSetupDialog.h"
#include "setup_fixture.h"

namespace {
bool Inside(const QRectF& outer, const QRectF& inner) {
    return outer.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(inner);
}
// Saves a rendering for a look by eye when UEGO_RENDER_DIR names a folder.
void KeepForInspection(const QImage& image, const char* name) {
    if (const char* dir = std::getenv("UEGO_RENDER_DIR")) {
        image.save(QString::fromLocal8Bit(dir) + "/" + name);
    }
}
} // namespace

TEST(PlugPicture, ScalesProportionallyAndCentresInTheTarget) {
    // The field's neighbour is exactly half the design size.
    TPlugGeometry g = PlugPictureGeometry(QRectF(0, 0, 26, 27));
    EXPECT_DOUBLE_EQ(g.Scale, 0.5);
    EXPECT_EQ(g.Frame, QRectF(0, 0, 26, 27));
    EXPECT_EQ(g.Housing, QRectF(1, 6, 14, 17));

    // A wide target: height decides, the picture sits in the middle.
    g = PlugPictureGeometry(QRectF(10, 20, 200, 54));
    EXPECT_DOUBLE_EQ(g.Scale, 1.0);
    EXPECT_DOUBLE_EQ(g.Frame.center().x(), 110);
    for (const QRectF& part : {g.Housing, g.Latch, g.Cable, g.ResistorBody}) {
        EXPECT_TRUE(Inside(g.Frame, part));
    }
    // The leads join the resistor's ends to the housing's side.
    EXPECT_DOUBLE_EQ(g.Leads[0].front().y(), g.ResistorBody.top());
    EXPECT_DOUBLE_EQ(g.Leads[1].front().y(), g.ResistorBody.bottom());
    EXPECT_DOUBLE_EQ(g.Leads[1].back().x(), g.Housing.right());
}

TEST(PlugPicture, PaintsHousingResistorAndLeavesTheCornersClear) {
    const QImage image = PlugPicturePixmap(104, 108).toImage();
    const TPlugGeometry g = PlugPictureGeometry(QRectF(0, 0, 104, 108));
    KeepForInspection(image, "plug-picture.png");
    const auto at = [&image](QPointF p) { return image.pixelColor(p.toPoint()); };
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(103, 107).alpha(), 0);
    EXPECT_EQ(at(QPointF(g.Housing.right() - 6, g.Housing.center().y())), PlugColors::Housing);
    EXPECT_EQ(at(g.Cable.center()), PlugColors::Cable);
    const QRectF gap(g.ResistorBody.left(), g.Bands[0].bottom(), g.ResistorBody.width(),
                     g.Bands[1].top() - g.Bands[0].bottom());
    EXPECT_EQ(at(gap.center()), PlugColors::Resistor);
    for (size_t i = 0; i < g.Bands.size(); ++i) {
        EXPECT_EQ(at(g.Bands[i].center()), PlugColors::Bands[i]);
    }
    EXPECT_EQ(at(QPointF(g.Leads[0][1].x(), (g.Leads[0][1].y() + g.Leads[0][0].y()) / 2)),
              PlugColors::Lead);
}

using SetupWindowsRendering = SetupDialogs;

TEST_F(SetupWindowsRendering, BothWindowsShowTheirControls) {
    CalForm->ProgressBar1->setValue(100);
    CalForm->ProgressBar1->show();
    const QImage cal = CalForm->grab().toImage();
    KeepForInspection(cal, "sensor-setup.png");
    ASSERT_EQ(cal.size(), QSize(389, 174));
    // The picture is on the window, right of the field.
    const QRect picture = CalForm->Image1->geometry();
    int painted = 0;
    for (int y = picture.top(); y <= picture.bottom(); ++y) {
        for (int x = picture.left(); x <= picture.right(); ++x) {
            painted += cal.pixelColor(x, y) != cal.pixelColor(picture.right() + 20, y);
        }
    }
    EXPECT_GT(painted, picture.width() * picture.height() / 3);

    QImage can = CANform->grab().toImage();
    KeepForInspection(can, "can-setup.png");
    ASSERT_EQ(can.size(), QSize(353, 242));
    CANform->RadioButton4->setChecked(true);
    const QImage checked = CANform->grab().toImage();
    KeepForInspection(checked, "can-setup-500.png");
    EXPECT_NE(checked.copy(CANform->RadioButton4->geometry()),
              can.copy(CANform->RadioButton4->geometry()));
}
