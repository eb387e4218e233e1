#include "ui/control.h"

#include <cstdio>
#include <cstdlib>

#include "ui/gbk_literal.h"
#include "ui/windows.h"

namespace ui {
namespace {

// A member whose name is missing from the description, or of another kind, is a build mistake
// that every test trips over at once; there is nothing to recover.
const ControlSpec& SpecOf(const Window& window, std::string_view name, Kind kind) {
  const ControlSpec* description = FindControlSpec(window.description(), name);
  if (description == nullptr || description->kind != kind) {
    std::fprintf(stderr, "window description: no %s named %.*s\n", KindName(kind),
                 static_cast<int>(name.size()), name.data());
    std::abort();
  }
  return *description;
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

Control::Control(Window& window, std::string_view name, Kind kind)
    : window_(window),
      spec_(SpecOf(window, name, kind)),
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

CaptionedControl::CaptionedControl(Window& window, std::string_view name, Kind kind)
    : Control(window, name, kind), caption_(G(description().caption)) {}

void CaptionedControl::Restore() {
  Control::Restore();
  set_caption(G(description().caption));
}

PicturedControl::PicturedControl(Window& window, std::string_view name, Kind kind)
    : Control(window, name, kind) {}

void PicturedControl::Restore() {
  Control::Restore();
  clear_picture();
}

Label::Label(Window& window, std::string_view name)
    : CaptionedControl(window, name, Kind::kLabel) {}

void Label::Restore() {
  CaptionedControl::Restore();
  set_pointer(Pointer::kDefault);
}

TransparentLabel::TransparentLabel(Window& window, std::string_view name)
    : CaptionedControl(window, name, Kind::kTransparentLabel) {}

Hyperlink::Hyperlink(Window& window, std::string_view name)
    : CaptionedControl(window, name, Kind::kHyperlink) {}

CheckBox::CheckBox(Window& window, std::string_view name)
    : CaptionedControl(window, name, Kind::kCheckBox), ticked_(description().ticked) {}

void CheckBox::Restore() {
  CaptionedControl::Restore();
  set_ticked(description().ticked);
}

ComboBox::ComboBox(Window& window, std::string_view name)
    : Control(window, name, Kind::kComboBox), selection_(description().selection) {
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

Timer::Timer(Window& window, std::string_view name)
    : Control(window, name, Kind::kTimer), period_(description().period) {}

void Timer::Restore() {
  Control::Restore();
  set_period(description().period);
}

PictureBox::PictureBox(Window& window, std::string_view name)
    : PicturedControl(window, name, Kind::kPictureBox) {}

DrawingPanel::DrawingPanel(Window& window, std::string_view name)
    : PicturedControl(window, name, Kind::kDrawingPanel) {}

ShapeBox::ShapeBox(Window& window, std::string_view name)
    : Control(window, name, Kind::kShapeBox) {}

PictureButton::PictureButton(Window& window, std::string_view name)
    : Control(window, name, Kind::kPictureButton) {}

HtmlViewer::HtmlViewer(Window& window, std::string_view name)
    : Control(window, name, Kind::kHtmlViewer) {}

DatabaseUnit::DatabaseUnit(Window& window, std::string_view name)
    : Control(window, name, Kind::kDatabaseUnit) {}

}  // namespace ui
