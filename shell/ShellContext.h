#pragma once

class Clipboard;
class Dialogs;
class SysInfoStarter;
class WindowRegistry;

// The program-wide services every window of the shell is handed. main()
// creates the real ones; tests hand in fakes.
struct ShellContext
{
    Dialogs& dialogs;
    Clipboard& clipboard;
    WindowRegistry& windows;
    SysInfoStarter& sysInfo;
};
