// The application window and the message loop. The application window owns the
// forms; the first of them is the main form, whose close ends the loop, and the end
// of the loop destroys the application window with everything it owns.
#pragma once
#include "toolkit/WindowObject.h"
#include <string>

namespace tk {

class TAppWindow : public TWindowObject {
public:
  explicit TAppWindow(const std::string& caption);
  // The first form made on the application window, or null.
  TWindowObject* MainForm() { return static_cast<TWindowObject*>(Children().Get(0)); }

protected:
  TReply TypeHandler(const TMessageRecord& msg) override;
  void AfterCreate() override;
  void BeforeDestroy() override;
};

TAppWindow* CreateAppWindow(const std::string& caption);
// The application window once made, until it is destroyed; else null.
TAppWindow* AppWindow();

enum class TLoopState { NotStarted, Running, Terminated };
TLoopState LoopState();
bool LoopTerminated();
// The window RunMessageLoop was given, while the loop owns it.
TWindowObject* ApplicationObject();
// Runs until WM_QUIT, then destroys the application window with everything it owns.
void RunMessageLoop(TWindowObject* app);
// Handles every queued message and returns.
void ProcessMessages(TWindowObject* window);
void CloseWindow(TWindowObject* window);
// Windows is ending the session: the loop ends, the application window is released
// with everything it owns, and the process leaves at once.
[[noreturn]] void EndSessionNow();

}  // namespace tk
