// What every backend's window shares: the handler registry, the activation rule and the
// unload sequence. A backend derives from WindowBase, creates its native controls from the
// table, and calls raise()/requestClose() when the user acts.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "ui/stored_values.h"
#include "ui/window.h"

namespace ui {

// Which window of the program has the focus. One per backend; it decides when a window's
// Activate handler runs: when the window is shown the first time, and when the program hands it
// the focus while another of its windows had it. Switching to another application and back is
// no activation, so the focus the window system gives back then is not reported here.
class Activation {
 public:
  explicit Activation(std::function<void(Handler)> post) : post_(std::move(post)) {}
  // Records that window now has the focus; when another window (or none) had it, its
  // Activate handler is posted to the event loop.
  void focus(class WindowBase* window);
  void forget(const class WindowBase* window);
  WindowBase* active() const { return active_; }

 private:
  std::function<void(Handler)> post_;
  WindowBase* active_ = nullptr;
};

class WindowBase : public Window {
 public:
  WindowBase(const WindowSpec& spec, Activation& activation);
  ~WindowBase() override;

  const WindowSpec& spec() const override { return spec_; }

  void on(std::string_view controlName, Event event, Handler handler) override;
  void onActivate(Handler handler) override { activate_ = std::move(handler); }
  void onUnload(std::function<void(bool& cancel)> handler) override {
    unload_ = std::move(handler);
  }

  // show(), setFocus() and unload() of backends call these for the shared rules.
  void show() override;
  void setFocus() override;
  void unload() override;
  bool loaded() const override { return loaded_; }
  // The table's stored values first, then the backend's controls.
  Control& control(std::string_view name) final;

  // Runs the handler of controlName for event, if one is registered.
  void raise(std::string_view controlName, Event event);
  // The close button or system menu: runs the unload handler and, unless it cancels,
  // destroys the native window. Returns true when the window was closed.
  bool requestClose();

 protected:
  // The backend's native parts.
  virtual Control& nativeControl(std::string_view name) = 0;
  virtual void nativeShow() = 0;
  virtual void nativeFocus() = 0;
  virtual void nativeDestroy() = 0;

 private:
  friend class Activation;
  void runActivate();

  const WindowSpec& spec_;
  Activation& activation_;
  StoredValues stored_;
  std::map<std::pair<std::string, Event>, Handler> handlers_;
  Handler activate_;
  std::function<void(bool&)> unload_;
  bool shown_ = false;
  bool loaded_ = true;
  // Posted activations check this, so one that arrives after the window is gone does nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ui
