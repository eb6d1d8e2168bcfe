#include "core/map_view.h"
#include "core/tools.h"
#include "platform/qt_text.h"
#include "ui/frm_main.h"
#include "ui/picture_box.h"
#include "ui/tool_icons.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

namespace tessra {

namespace {

constexpr std::array<const char*, 4> ToolCaptions{"Draw", "Floodfill", "R.Stamp", "Erase"};

QGroupBox* AddFrame(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(geometry);
    return frame;
}

QScrollBar* AddScrollBar(QWidget* parent, const char* name, Qt::Orientation orientation,
                         QRect geometry, int max, int pageStep) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setGeometry(geometry);
    bar->setRange(0, max);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    // The view follows the thumb while it is dragged.
    bar->setTracking(true);
    return bar;
}

} // namespace

void frmMain::BuildMapView(QWidget* client) {
    picEditField = new PictureBox(QStringLiteral("picEditField"), ViewWidth, ViewHeight, client);
    picEditField->move(0, 0);
    // No surface yet: the view stays blank until the first redraw.
    connect(picEditField, &PictureBox::MouseDown, this, &frmMain::picEditField_MouseDown);
    connect(picEditField, &PictureBox::MouseMove, this, &frmMain::picEditField_MouseMove);
    connect(picEditField, &PictureBox::MouseUp, this, &frmMain::picEditField_MouseUp);

    const ZoomLevel& zoom = ZoomFor(0);
    scrVert = AddScrollBar(client, "scrVert", Qt::Vertical, {ViewWidth, 0, 17, ViewHeight},
                           zoom.vertMax, zoom.vertPage);
    scrHoriz = AddScrollBar(client, "scrHoriz", Qt::Horizontal, {0, ViewHeight, ViewWidth, 17},
                            zoom.horizMax, zoom.horizPage);
    connect(scrVert, &QScrollBar::valueChanged, this, &frmMain::RedrawMapView);
    connect(scrHoriz, &QScrollBar::valueChanged, this, &frmMain::RedrawMapView);

    Frame4 = AddFrame(client, "Frame4", "Map Coordinate", {184, 472, 145, 41});
    lblMapCoordinate = new QLabel(Frame4);
    lblMapCoordinate->setObjectName(QStringLiteral("lblMapCoordinate"));
    lblMapCoordinate->setGeometry(8, 16, 129, 17);
}

void frmMain::BuildZoomFrame(QWidget* client) {
    Frame2 = AddFrame(client, "Frame2", "Zoom", {8, 472, 169, 41});
    auto* group = new QButtonGroup(Frame2);
    for (int i = 0; i < static_cast<int>(optScaleMode.size()); ++i) {
        auto* option = new QRadioButton(QString::fromUtf8(ZoomTable[i].caption), Frame2);
        option->setObjectName(QStringLiteral("optScaleMode"));
        option->setProperty("index", i);
        option->setGeometry(8 + 40 * i, 16, 33, 17);
        group->addButton(option, i);
        optScaleMode[i] = option;
    }
    optScaleMode[0]->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked) {
            optScaleMode_Click(index);
        }
    });
}

void frmMain::BuildToolFrame(QWidget* client) {
    Frame3 = AddFrame(client, "Frame3", "Tool Select", {536, 0, 273, 89});
    auto* group = new QButtonGroup(Frame3);
    for (int i = 0; i < static_cast<int>(optToolSelect.size()); ++i) {
        auto* option = new QToolButton(Frame3);
        option->setObjectName(QStringLiteral("optToolSelect"));
        option->setProperty("index", i);
        option->setGeometry(8 + 64 * i, 24, 57, 49);
        option->setCheckable(true);
        option->setIcon(ToolIcon(static_cast<Tool>(i)));
        option->setIconSize(QSize(ToolIconSize, ToolIconSize));
        option->setToolTip(QString::fromUtf8(ToolCaptions[i]));
        option->setAccessibleName(option->toolTip());
        group->addButton(option, i);
        optToolSelect[i] = option;
    }
    optToolSelect[ToolDraw]->setChecked(true);
    connect(group, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked) {
            optToolSelect_Click(index);
        }
    });
}

void frmMain::RedrawMapView() {
    tessra::RedrawMapView(state_.MapData, palette_, state_.ZoomMode, scrHoriz->value(),
                          scrVert->value(), view_);
    if (picEditField->surface() == nullptr) {
        picEditField->SetSurface(&view_);
    } else {
        picEditField->Refresh();
    }
    UpdateOverlay();
}

void frmMain::optScaleMode_Click(int index) {
    state_.ZoomMode = static_cast<std::int16_t>(index);
    const ZoomLevel& zoom = ZoomFor(index);
    // A smaller maximum pulls the value down with it, and that change redraws too.
    scrHoriz->setMaximum(zoom.horizMax);
    scrVert->setMaximum(zoom.vertMax);
    scrHoriz->setPageStep(zoom.horizPage);
    scrVert->setPageStep(zoom.vertPage);
    RedrawMapView();
}

void frmMain::optToolSelect_Click(int index) {
    state_.CurrentTool = static_cast<std::int16_t>(index);
}

void frmMain::picEditField_MouseDown(int button, double X, double Y) {
    // A whole drag of the left button is one step, closed on its release; a
    // step already open takes this press or move in.
    if (button == LeftButton) {
        history_.BeginStep(state_, ToolStepLabel(state_.CurrentTool));
    }
    const PressOutcome outcome =
        HandleEditFieldPress(state_, button, X, Y, scrHoriz->value(), scrVert->value());
    lblMapCoordinate->setText(ToQString(outcome.readout));
    if (outcome.pickedTile) {
        optToolSelect[ToolDraw]->setChecked(true);
        optToolSelect_Click(ToolDraw);
        const int tile = *outcome.pickedTile;
        picTileset_MouseUp(LeftButton, TileLeft(tile), TileTop(tile));
    }
    if (outcome.redraw) {
        RedrawMapView();
    }
}

void frmMain::picEditField_MouseMove(int button, double X, double Y) {
    picEditField_MouseDown(button, X, Y);
}

void frmMain::picEditField_MouseUp(int button, double, double) {
    if (button == LeftButton && history_.StepOpen()) {
        history_.EndStep(state_);
        UpdateEditMenu();
    }
}

} // namespace tessra
