#include "ui/control.h"

#include <cstdio>
#include <cstdlib>

#include "ui/gbk_literal.h"
#include "ui/windows.h"

namespace ui {
namespace {

// The rows follow the control lists (checked where they are compiled), so a typed member finds
// its row at its identifier's row. A member given another window's identifier, or of another
// kind, is a build mistake that every test trips over at once; there is nothing to recover.
const ControlSpec& SpecOf(const Window& window, ControlId id, Kind kind) {
  const auto rows = window.description().controls;
  if (id.window() != window.id() || id.row() >= rows.size() || rows[id.row()].kind != kind) {
    const std::string_view name = Name(id);
    std::fprintf(stderr, "window description: no %s named %.*s\n", KindName(kind),
                 static_cast<int>(name.size()), name.data());
    std::abort();
  }
  return rows[id.row()];
}

}  // namespace

const char* PropertyName(Property property) {
  switch (property) {
    case Property::kCaption:
      return "caption";
    case Property::kPicture:
      return "picture";
    case Property::kVisible:
      return "visible";
    case Property::kPointer:
      return "pointer";
    case Property::kTicked:
      return "ticked";
    case Property::kSelection:
      return "selection";
    case Property::kPeriod:
      return "period";
    case Property::kLeft:
      return "left";
    case Property::kTop:
      return "top";
  }
  return "property";
}

Control::Control(Window& window, ControlId id, Kind kind)
    : window_(window),
      id_(id),
      spec_(SpecOf(window, id, kind)),
      left_(spec_.left),
      top_(spec_.top),
      visible_(spec_.visible) {
  window.Register(this);
}

void Control::Changed(Property property) {
  if (ControlObserver* observer = window_.observer()) observer->ControlChanged(*this, property);
}

void Control::Restore() {
  set_left(spec_.left);
  set_top(spec_.top);
  set_visible(spec_.visible);
}

CaptionedControl::CaptionedControl(Window& window, ControlId id, Kind kind)
    : Control(window, id, kind), caption_(G(description().caption)) {}

void CaptionedControl::Restore() {
  Control::Restore();
  set_caption(G(description().caption));
}

PicturedControl::PicturedControl(Window& window, ControlId id, Kind kind)
    : Control(window, id, kind) {}

void PicturedControl::Restore() {
  Control::Restore();
  clear_picture();
}

Label::Label(Window& window, ControlId id) : CaptionedControl(window, id, Kind::kLabel) {}

void Label::Restore() {
  CaptionedControl::Restore();
  set_pointer(Pointer::kDefault);
}

TransparentLabel::TransparentLabel(Window& window, ControlId id)
    : CaptionedControl(window, id, Kind::kTransparentLabel) {}

Hyperlink::Hyperlink(Window& window, ControlId id)
    : CaptionedControl(window, id, Kind::kHyperlink) {}

CheckBox::CheckBox(Window& window, ControlId id)
    : CaptionedControl(window, id, Kind::kCheckBox), ticked_(description().ticked) {}

void CheckBox::Restore() {
  CaptionedControl::Restore();
  set_ticked(description().ticked);
}

ComboBox::ComboBox(Window& window, ControlId id)
    : Control(window, id, Kind::kComboBox), selection_(description().selection) {
  for (std::string_view item : description().items) items_.push_back(G(item));
}

const std::string& ComboBox::item(int index) const {
  static const std::string kNone;
  if (index < 0 || index >= item_count()) return kNone;
  return items_[static_cast<size_t>(index)];
}

void ComboBox::Restore() {
  Control::Restore();
  set_selection(description().selection);
}

Timer::Timer(Window& window, ControlId id)
    : Control(window, id, Kind::kTimer), period_(description().period) {}

void Timer::Restore() {
  Control::Restore();
  set_period(description().period);
}

PictureBox::PictureBox(Window& window, ControlId id)
    : PicturedControl(window, id, Kind::kPictureBox) {}

DrawingPanel::DrawingPanel(Window& window, ControlId id)
    : PicturedControl(window, id, Kind::kDrawingPanel) {}

ShapeBox::ShapeBox(Window& window, ControlId id) : Control(window, id, Kind::kShapeBox) {}

PictureButton::PictureButton(Window& window, ControlId id)
    : Control(window, id, Kind::kPictureButton) {}

HtmlViewer::HtmlViewer(Window& window, ControlId id) : Control(window, id, Kind::kHtmlViewer) {}

DatabaseUnit::DatabaseUnit(Window& window, ControlId id)
    : Control(window, id, Kind::kDatabaseUnit) {}

}  // namespace ui
