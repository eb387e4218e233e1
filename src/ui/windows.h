// The two windows as objects: the main window (the exam screen) and the score window. Each has
// one typed member per control, named as the description names it. A window owns its controls,
// is neither copied nor moved, and reports property changes to one observer (the host's).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/control_names.h"

namespace ui {

class Window {
 public:
  Window(WindowId id, const WindowSpec& description);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  WindowId id() const { return id_; }
  const WindowSpec& description() const { return spec_; }
  const std::string& title() const { return title_; }  // GBK
  int width() const { return spec_.width; }
  int height() const { return spec_.height; }

  // `observer` must outlive the window or be replaced first; null stops the reports.
  void set_observer(ControlObserver* observer) { observer_ = observer; }
  ControlObserver* observer() const { return observer_; }

  // Every control, in description order.
  std::span<Control* const> controls() const { return controls_; }
  // The control `id`; null for the window itself and for a control of the other window.
  Control* Find(ControlId id) const;
  // The control that `control` sits in; null when it sits in the window itself.
  Control* ParentOf(const Control& control) const;

  // Every control back to its state at start (the score window is created anew each time).
  void Restore();

 private:
  friend class Control;
  void Register(Control* control) { controls_.push_back(control); }

  const WindowId id_;
  const WindowSpec& spec_;
  std::string title_;
  ControlObserver* observer_ = nullptr;
  std::vector<Control*> controls_;
};

#define EXAMORA_MAIN_MEMBER(name, type) type name{*this, MainControl::name};
#define EXAMORA_SCORE_MEMBER(name, type) type name{*this, ScoreControl::name};

class MainWindow : public Window {
 public:
  MainWindow();
  EXAMORA_MAIN_WINDOW_CONTROLS(EXAMORA_MAIN_MEMBER)

  // The option label of `letter` ('A' to 'D'); null for any other letter.
  Label* OptionLabel(char letter);
};

// The letter of the option label `id` ('A' to 'D'), the answer a click on it gives; none for
// any other control.
std::optional<char> OptionLetter(ControlId id);

class ScoreWindow : public Window {
 public:
  ScoreWindow();
  EXAMORA_SCORE_WINDOW_CONTROLS(EXAMORA_SCORE_MEMBER)
};

#undef EXAMORA_MAIN_MEMBER
#undef EXAMORA_SCORE_MEMBER

// The main window's position changed: centre the panel 图片框1 in the window, each coordinate
// (window size - panel size) / 2 truncated toward zero. With the designed sizes: 52, 28.
void CenterMainPanel(MainWindow& window);

}  // namespace ui
