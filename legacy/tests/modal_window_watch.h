// Drives a modal window from a second thread while the test's thread sits in its modal loop:
// waits for the window to appear, lets the test look at it, then closes it.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

namespace test {

class ModalWindowWatch {
 public:
  // `inspect` runs on the watching thread once the window is visible; `close` then ends it.
  ModalWindowWatch(const wchar_t* className, std::function<void(HWND)> inspect, std::function<void(HWND)> close,
                   const wchar_t* title = nullptr)
      : thread_([=, this] { Watch(className, title, inspect, close); }) {}
  ~ModalWindowWatch() { thread_.join(); }

  bool Found() const { return found_; }

 private:
  void Watch(const wchar_t* className, const wchar_t* title, const std::function<void(HWND)>& inspect,
             const std::function<void(HWND)>& close) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      HWND window = FindWindowW(className, title);
      if (window && IsWindowVisible(window)) {
        found_ = true;
        inspect(window);
        close(window);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  bool found_ = false;
  std::thread thread_;
};

}  // namespace test
