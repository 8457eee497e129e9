#include "ui/window_base.h"

namespace ui {

void Activation::focus(WindowBase* window) {
  if (active_ == window) return;
  active_ = window;
  std::weak_ptr<bool> alive = window->alive_;
  post_([window, alive] {
    if (!alive.expired()) window->runActivate();
  });
}

void Activation::forget(const WindowBase* window) {
  if (active_ == window) active_ = nullptr;
}

WindowBase::WindowBase(const WindowSpec& spec, Activation& activation)
    : spec_(spec), activation_(activation), stored_(spec.stored) {}

WindowBase::~WindowBase() { activation_.forget(this); }

Control& WindowBase::control(std::string_view name) {
  if (Control* value = stored_.find(name)) return *value;
  return nativeControl(name);
}

void WindowBase::on(std::string_view controlName, Event event, Handler handler) {
  handlers_[{std::string(controlName), event}] = std::move(handler);
}

void WindowBase::raise(std::string_view controlName, Event event) {
  auto it = handlers_.find({std::string(controlName), event});
  if (it == handlers_.end() || !it->second) return;
  // Copy: the handler may replace itself or unload the window while it runs.
  Handler handler = it->second;
  handler();
}

void WindowBase::show() {
  if (!loaded_) return;
  nativeShow();
  if (shown_) return;
  shown_ = true;
  activation_.focus(this);
}

void WindowBase::setFocus() {
  if (!loaded_) return;
  nativeFocus();
  if (shown_) activation_.focus(this);
}

void WindowBase::unload() { requestClose(); }

bool WindowBase::requestClose() {
  if (!loaded_) return true;
  bool cancel = false;
  if (unload_) {
    auto handler = unload_;
    handler(cancel);
  }
  if (cancel) return false;
  loaded_ = false;
  activation_.forget(this);
  nativeDestroy();
  return true;
}

void WindowBase::runActivate() {
  if (!loaded_ || !activate_) return;
  Handler handler = activate_;
  handler();
}

}  // namespace ui
