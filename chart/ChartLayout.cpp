// The chart window's components and their layout.
#include <QBoxLayout>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "ChartWindow.h"
#include "Fuels.h"
#include "LambdaPlot.h"
#include "ReadoutCell.h"
#include "format/Formatting.h"

namespace {

QComboBox* MakeBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QStringList SpanNames() {
    QStringList names;
    for (int seconds : ChartSpans) {
        names << QString::fromStdString(SpanName(seconds));
    }
    return names;
}

QStringList FuelNames() {
    QStringList names;
    for (const TFuel& fuel : StandardFuels()) {
        names << QString("%1 (%2)").arg(fuel.Name,
                                        QString::fromStdString(FloatToStr(fuel.Stoichiometric)));
    }
    names << "Other ratio...";
    return names;
}

// A name typed without a suffix gets the suffix of the file type chosen.
void FollowFilterSuffix(QFileDialog* dialog, const QStringList& suffixes) {
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
                     [dialog, suffixes](const QString& filter) {
                         const qsizetype index = dialog->nameFilters().indexOf(filter);
                         if (index >= 0 && index < suffixes.size()) {
                             dialog->setDefaultSuffix(suffixes[index]);
                         }
                     });
}

} // namespace

void TChartForm::CreateComponents() {
    auto* root = new QVBoxLayout(this);
    CreateControls(root);

    ChartArea = new QWidget(this);
    ChartArea->setObjectName("ChartArea");
    ChartArea->setAutoFillBackground(true);
    auto* area = new QVBoxLayout(ChartArea);
    area->setContentsMargins(0, 0, 0, 0);
    Plot = new TLambdaPlot(ChartArea);
    area->addWidget(Plot, 1);
    auto* grid = new QGridLayout();
    CreateReadout(grid);
    area->addLayout(grid);
    root->addWidget(ChartArea, 1);

    StatusText = new QLabel(this);
    StatusText->setObjectName("StatusText");
    StatusText->setWordWrap(true);
    root->addWidget(StatusText);

    FRedrawTimer = new QTimer(this);
    FRedrawTimer->setSingleShot(true);
    FJobTimer = new QTimer(this);
    FJobTimer->setInterval(100);
    resize(820, 560);
    setMinimumSize(660, 440);
}

void TChartForm::CreateControls(QBoxLayout* layout) {
    auto* choices = new QHBoxLayout();
    SpanBox = MakeBox(this, "SpanBox", SpanNames());
    AxisBox = MakeBox(this, "AxisBox", {"0.65 to 1.35", "Fit to data"});
    FuelBox = MakeBox(this, "FuelBox", FuelNames());
    RatioEdit = new QLineEdit(this);
    RatioEdit->setObjectName("RatioEdit");
    RatioEdit->setPlaceholderText("ratio");
    RatioEdit->setMaximumWidth(70);
    RatioMessage = new QLabel(this);
    RatioMessage->setObjectName("RatioMessage");
    RatioMessage->setStyleSheet("color: #b00000;");
    RatioMessage->setVisible(false);
    choices->addWidget(MakeLabel(this, "&Span", SpanBox));
    choices->addWidget(SpanBox);
    choices->addSpacing(12);
    choices->addWidget(MakeLabel(this, "&Lambda axis", AxisBox));
    choices->addWidget(AxisBox);
    choices->addSpacing(12);
    choices->addWidget(MakeLabel(this, "&Fuel", FuelBox));
    choices->addWidget(FuelBox);
    choices->addWidget(RatioEdit);
    choices->addStretch(1);
    layout->addLayout(choices);
    // Below the choices, shown only while the typed ratio was refused.
    layout->addWidget(RatioMessage);

    auto* buttons = new QHBoxLayout();
    PauseButton = MakeButton(this, "PauseButton", "&Pause");
    PauseButton->setCheckable(true);
    ClearButton = MakeButton(this, "ClearButton", "&Clear");
    SaveImageButton = MakeButton(this, "SaveImageButton", "Save &Image...");
    OpenLogButton = MakeButton(this, "OpenLogButton", "&Open Log...");
    LiveButton = MakeButton(this, "LiveButton", "Li&ve");
    ExportButton = MakeButton(this, "ExportButton", "&Export...");
    auto* exportMenu = new QMenu(ExportButton);
    ExportSpanAction = exportMenu->addAction("Span in view...");
    ExportWholeAction = exportMenu->addAction("Whole history...");
    ExportButton->setMenu(exportMenu);
    CancelButton = MakeButton(this, "CancelButton", "Cancel");
    CancelButton->setVisible(false);
    for (QPushButton* button :
         {PauseButton, ClearButton, SaveImageButton, OpenLogButton, LiveButton, ExportButton}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
}

void TChartForm::CreateReadout(QGridLayout* grid) {
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(16);
    grid->addWidget(MakeLabel(ChartArea, "Lambda"), 1, 0);
    grid->addWidget(MakeLabel(ChartArea, "AFR"), 2, 0);
    QFont big = font();
    big.setPixelSize(20);
    big.setBold(true);
    for (int column = 0; column < rcCount; ++column) {
        std::array<QLabel**, 3> rows{&ReadoutHeading[column], &ReadoutLambda[column],
                                     &ReadoutAfr[column]};
        for (size_t row = 0; row < rows.size(); ++row) {
            auto* cell = new TReadoutCell(ChartArea);
            *rows[row] = cell->Label();
            cell->Label()->setAlignment(Qt::AlignCenter);
            grid->addWidget(cell, static_cast<int>(row), column + 1);
        }
        ReadoutLambda[column]->setFont(big);
        grid->setColumnStretch(column + 1, 1);
    }
    ReadoutLambda[rcNewest]->setObjectName("NewestLambda");
    ReadoutAfr[rcNewest]->setObjectName("NewestAfr");
}

// Made at the first Open Log, Save Image or Export: file dialogs and the icons of their
// buttons are a few megabytes that a chart that is only watched does not need.
void TChartForm::CreateDialogs() {
    if (OpenLogDialog != nullptr) {
        return;
    }
    OpenLogDialog = new QFileDialog(this, "Open Log");
    OpenLogDialog->setObjectName("OpenLogDialog");
    OpenLogDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenLogDialog->setFileMode(QFileDialog::ExistingFile);
    OpenLogDialog->setNameFilters({"Logs (*.txt *.msl *.csv)", "Data logs (*.txt)",
                                   "MSL logs (*.msl)", "CSV (*.csv)", "All files (*)"});
    OpenLogDialog->setOption(QFileDialog::DontUseNativeDialog, true);

    SaveImageDialog = new QFileDialog(this, "Save Image");
    SaveImageDialog->setObjectName("SaveImageDialog");
    SaveImageDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveImageDialog->setFileMode(QFileDialog::AnyFile);
    SaveImageDialog->setDefaultSuffix("png");
    SaveImageDialog->setNameFilters({"PNG images (*.png)", "JPEG images (*.jpg *.jpeg)"});
    SaveImageDialog->setOption(QFileDialog::DontUseNativeDialog, true);
    FollowFilterSuffix(SaveImageDialog, {"png", "jpg"});

    ExportDialog = new QFileDialog(this, "Export");
    ExportDialog->setObjectName("ExportDialog");
    ExportDialog->setAcceptMode(QFileDialog::AcceptSave);
    ExportDialog->setFileMode(QFileDialog::AnyFile);
    ExportDialog->setDefaultSuffix("msl");
    ExportDialog->setNameFilters({"MSL log (*.msl)", "CSV (*.csv)"});
    ExportDialog->setOption(QFileDialog::DontUseNativeDialog, true);
    FollowFilterSuffix(ExportDialog, {"msl", "csv"});
}
