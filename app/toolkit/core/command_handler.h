// Receives the commands of popup menus, as a window receives its command messages.
#pragma once

namespace talvoro::ui {

class ICommandHandlerUI {
  public:
    virtual ~ICommandHandlerUI() = default;
    virtual void on_command(int id) = 0;
};

}  // namespace talvoro::ui
