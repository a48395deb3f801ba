#pragma once

#ifdef _WIN32

#include <string>

// The text for a Win32 error code inside a German message, as UTF-8: German
// words of our own for the codes a run meets most, the system's own text for
// the rest. The C runtime would give the system's text in the ANSI code page,
// which shows wrongly on the console and breaks a UTF-8 report.
class WindowsErrorText
{
public:
    static std::string of(unsigned long code);

    // A full disk, a write-protected medium or an exhausted quota.
    static bool meansNoWriteCanSucceed(unsigned long code);

private:
    static std::string systemText(unsigned long code);
};

#endif
