#include "core/edit/tool_table.h"
#include "core/render/map_view.h"
#include "platform/qt_text.h"
#include "ui/edit_field.h"
#include "ui/frm_main.h"
#include "ui/tool_icons.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>

namespace tessra {

namespace {

QGroupBox* AddFrame(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(geometry);
    return frame;
}

// Calls `click` with the index of the button of `group` that becomes checked.
template <class Click> void OnChecked(QButtonGroup* group, QObject* receiver, Click click) {
    QObject::connect(group, &QButtonGroup::idToggled, receiver, [click](int index, bool checked) {
        if (checked) {
            click(index);
        }
    });
}

} // namespace

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
    OnChecked(group, this, [this](int index) { optScaleMode_Click(index); });
}

void frmMain::BuildToolFrame(QWidget* client) {
    Frame3 = AddFrame(client, "Frame3", "Tool Select", {536, 0, 273, 89});
    auto* group = new QButtonGroup(Frame3);
    // Five buttons share the frame: the captions' font shrinks, if it must,
    // until the widest caption fits its button.
    constexpr int ButtonWidth = 51, CaptionRoom = ButtonWidth - 8;
    QFont captionFont = Frame3->font();
    int widest = 0;
    for (const ToolInfo& tool : ToolTable()) {
        widest = std::max(
            widest, QFontMetrics(captionFont).horizontalAdvance(QString::fromUtf8(tool.caption)));
    }
    if (widest > CaptionRoom) {
        captionFont.setPointSizeF(captionFont.pointSizeF() * CaptionRoom / widest);
    }
    for (const ToolInfo& tool : ToolTable()) {
        auto* option = new QToolButton(Frame3);
        option->setObjectName(QStringLiteral("optToolSelect"));
        option->setProperty("index", tool.id);
        option->setGeometry(8 + (ButtonWidth + 1) * tool.id, 24, ButtonWidth, 49);
        option->setFont(captionFont);
        option->setCheckable(true);
        option->setIcon(ToolIcon(tool.id));
        // The caption under the icon, as on a picture option button; the
        // icon gives up some size so both fit the button.
        option->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        option->setText(QString::fromUtf8(tool.caption));
        option->setIconSize(QSize(ToolIconSize * 3 / 4, ToolIconSize * 3 / 4));
        option->setToolTip(option->text());
        option->setAccessibleName(option->text());
        group->addButton(option, tool.id);
        optToolSelect[tool.id] = option;
    }
    optToolSelect[ToolDraw]->setChecked(true);
    OnChecked(group, this, [this](int index) { optToolSelect_Click(index); });
}

void frmMain::BuildCoordinateFrame(QWidget* client) {
    Frame4 = AddFrame(client, "Frame4", "Map Coordinate", {184, 472, 145, 41});
    lblMapCoordinate = new QLabel(Frame4);
    lblMapCoordinate->setObjectName(QStringLiteral("lblMapCoordinate"));
    lblMapCoordinate->setGeometry(8, 16, 129, 17);
}

void frmMain::SelectTool(int index) {
    optToolSelect[index]->setChecked(true);
}

void frmMain::optScaleMode_Click(int index) {
    state_.ZoomMode = static_cast<std::int16_t>(index);
    editField_->ApplyZoom();
    ShowStatus({});
}

void frmMain::optToolSelect_Click(int index) {
    state_.CurrentTool = static_cast<std::int16_t>(index);
}

bool frmMain::SelectionTakes(PointerPhase phase, int button) const {
    const bool pasting = selection_.floating && !selection_.floating->source;
    const bool dragging = (selection_.floating && !pasting) || selection_.anchor;
    switch (phase) {
    case PointerPhase::Press:
        return button == LeftButton && (pasting || state_.CurrentTool == ToolSelect);
    case PointerPhase::Move:
        return pasting || dragging;
    case PointerPhase::Release:
        return button == LeftButton && dragging;
    }
    return false;
}

void frmMain::picEditField_MouseDown(int button, double X, double Y) {
    stroke_ = {};
    if (SelectionTakes(PointerPhase::Press, button)) {
        SelectToolAt(PointerPhase::Press, X, Y);
    } else {
        UseToolAt(button, X, Y);
    }
}

void frmMain::picEditField_MouseMove(int button, double X, double Y) {
    if (SelectionTakes(PointerPhase::Move, button)) {
        SelectToolAt(PointerPhase::Move, X, Y);
    } else {
        UseToolAt(button, X, Y);
    }
}

void frmMain::picEditField_MouseUp(int button, double X, double Y) {
    stroke_ = {};
    if (SelectionTakes(PointerPhase::Release, button)) {
        SelectToolAt(PointerPhase::Release, X, Y);
    } else if (button == LeftButton) {
        Refresh(history_.EndStep(state_));
    }
}

void frmMain::UseToolAt(int button, double X, double Y) {
    // A whole drag of the left button is one step, closed on its release; a
    // step already open takes this press or move in.
    if (button == LeftButton) {
        history_.BeginStep(state_, ToolFor(state_.CurrentTool).stepLabel);
    }
    const PressOutcome outcome =
        HandleEditFieldPress(state_, button, X, Y, editField_->ScrollX(), editField_->ScrollY(),
                             stroke_, editField_->ViewPixels());
    if (outcome.pickedTile) {
        SelectTool(ToolDraw);
    }
    Refresh({.cells = outcome.redraw, .selection = outcome.pickedTile.has_value()},
            outcome.readout);
}

void frmMain::ShowCellUnderPointer(std::optional<QPointF> pointer) {
    const std::string readout =
        pointer ? ReadoutAt(pointer->x(), pointer->y(), state_.ZoomMode, editField_->ScrollX(),
                            editField_->ScrollY(), editField_->ViewPixels())
                : std::string();
    Refresh({}, readout);
}

} // namespace tessra
