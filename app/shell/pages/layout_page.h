// A page of the main window's tab layout: a container that builds its own layout resource when
// it is made and holds the result as its only child. A resource that cannot be built leaves the
// page empty, and the program runs on without it.
#pragma once

#include <memory>

#include "core/container.h"
#include "core/dialog_builder.h"
#include "core/notify.h"

namespace talvoro::shell {

class PageHost;
struct MainWindowControls;

class LayoutPage : public ui::CContainerUI {
  public:
    // Builds the resource at once; `callback` names the elements the toolkit does not know.
    explicit LayoutPage(int resource_id, ui::IDialogBuilderCallback* callback = nullptr);

    int resource_id() const { return resource_id_; }
    bool built() const { return count() > 0; }

    // Once the window has found its controls: the page keeps both for its lifetime (the window
    // outlives its pages) and prepares its controls.
    virtual void bind(PageHost& host, const MainWindowControls& controls);

    // The page's own controls' notifications, routed here by the main window. True when the
    // page acted on it.
    virtual bool on_notify(ui::TNotifyUI& msg);
    // Menu commands: the window offers each command to the page that declares it.
    virtual bool handles_command(int) const { return false; }
    virtual void on_command(int) {}
    // The store now holds macros read from the mouse or a file.
    virtual void on_macros_loaded() {}
    // Profile `slot` is shown: the page fills its controls from it.
    virtual void on_page_refresh(int) {}
    // The interface language changed: texts the page writes itself are written again.
    virtual void on_language_changed() {}

  protected:
    PageHost* host_ = nullptr;
    const MainWindowControls* controls_ = nullptr;

  private:
    int resource_id_;
};

}  // namespace talvoro::shell
