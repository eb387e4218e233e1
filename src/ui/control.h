// The control model: one typed object per control of the window description, holding the
// properties the logic reads and writes. Every change of a property value is reported to the
// window's observer, which is how a host learns what to redraw; tests read the same properties
// with no window at all. Texts are GBK; pictures are the bytes of a JPEG or GIF file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/window_description.h"

namespace ui {

class Window;
class Control;

enum class Property {
  kCaption,
  kPicture,
  kVisible,
  kPointer,
  kTicked,
  kSelection,
  kPeriod,
  kLeft,
  kTop
};
const char* PropertyName(Property property);

enum class Pointer { kDefault, kHand };

class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  // Runs after `property` of `control` took a new value. A write of the value a property
  // already holds is not reported: a timer given its own period again keeps its rhythm.
  virtual void ControlChanged(const Control& control, Property property) = 0;
};

// What every control has: its row of the description, a place and a visible flag.
class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlId id() const { return id_; }
  std::string_view name() const { return spec_.name; }  // for printing
  Kind kind() const { return spec_.kind; }
  const ControlSpec& description() const { return spec_; }
  Window& window() const { return window_; }

  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return spec_.width; }
  int height() const { return spec_.height; }
  bool visible() const { return visible_; }
  void set_left(int left) { Assign(left_, left, Property::kLeft); }
  void set_top(int top) { Assign(top_, top, Property::kTop); }
  void set_visible(bool visible) { Assign(visible_, visible, Property::kVisible); }

  // Puts every property back to its value at start, reporting the ones that change.
  virtual void Restore();

 protected:
  // Takes the row of `id` in the window's description; `id` must be a control of `window`,
  // of `kind`.
  Control(Window& window, ControlId id, Kind kind);

  template <typename T, typename U>
  void Assign(T& field, U&& value, Property property) {
    if (field == value) return;
    field = std::forward<U>(value);
    Changed(property);
  }
  void Changed(Property property);

 private:
  Window& window_;
  const ControlId id_;
  const ControlSpec& spec_;
  int left_;
  int top_;
  bool visible_;
};

// Controls that show a caption (GBK).
class CaptionedControl : public Control {
 public:
  const std::string& caption() const { return caption_; }
  void set_caption(std::string caption) {
    Assign(caption_, std::move(caption), Property::kCaption);
  }
  void Restore() override;

 protected:
  CaptionedControl(Window& window, ControlId id, Kind kind);

 private:
  std::string caption_;
};

// Controls that show a picture. With no bytes set, a control whose row names a picture shows
// that artwork; one without shows nothing.
class PicturedControl : public Control {
 public:
  const std::string& picture() const { return picture_; }
  void set_picture(std::string bytes) { Assign(picture_, std::move(bytes), Property::kPicture); }
  void clear_picture() { set_picture(std::string()); }
  void Restore() override;

 protected:
  PicturedControl(Window& window, ControlId id, Kind kind);

 private:
  std::string picture_;
};

class Label : public CaptionedControl {
 public:
  Label(Window& window, ControlId id);
  Pointer pointer() const { return pointer_; }
  void set_pointer(Pointer pointer) { Assign(pointer_, pointer, Property::kPointer); }
  void Restore() override;

 private:
  Pointer pointer_ = Pointer::kDefault;
};

class TransparentLabel : public CaptionedControl {
 public:
  TransparentLabel(Window& window, ControlId id);
};

class Hyperlink : public CaptionedControl {
 public:
  Hyperlink(Window& window, ControlId id);
};

class CheckBox : public CaptionedControl {
 public:
  CheckBox(Window& window, ControlId id);
  bool ticked() const { return ticked_; }
  void set_ticked(bool ticked) { Assign(ticked_, ticked, Property::kTicked); }
  void Restore() override;

 private:
  bool ticked_;
};

class ComboBox : public Control {
 public:
  ComboBox(Window& window, ControlId id);
  int item_count() const { return static_cast<int>(items_.size()); }
  // The item at `index` (GBK); the empty text outside the list.
  const std::string& item(int index) const;
  int selection() const { return selection_; }  // 0-based, -1 none
  void set_selection(int index) { Assign(selection_, index, Property::kSelection); }
  // The item at the current selection; the empty text when nothing is selected.
  const std::string& selected_text() const { return item(selection_); }
  void Restore() override;

 private:
  std::vector<std::string> items_;
  int selection_;
};

class Timer : public Control {
 public:
  Timer(Window& window, ControlId id);
  int period() const { return period_; }  // milliseconds; 0 stopped
  void set_period(int milliseconds) { Assign(period_, milliseconds, Property::kPeriod); }
  void Restore() override;

 private:
  int period_;
};

class PictureBox : public PicturedControl {
 public:
  PictureBox(Window& window, ControlId id);
};

class DrawingPanel : public PicturedControl {
 public:
  DrawingPanel(Window& window, ControlId id);
};

class ShapeBox : public Control {
 public:
  ShapeBox(Window& window, ControlId id);
};

class PictureButton : public Control {
 public:
  PictureButton(Window& window, ControlId id);
};

class HtmlViewer : public Control {
 public:
  HtmlViewer(Window& window, ControlId id);
};

// Stands in the description for the connection to the question bank; the connection itself
// belongs to the logic that opens it.
class DatabaseUnit : public Control {
 public:
  DatabaseUnit(Window& window, ControlId id);
};

}  // namespace ui
