// The system-information look-up on the machine it runs on.

#include "SysInfoStarter.h"

#include <QFileInfo>
#include <QProcess>

#ifdef _WIN32
#include "WindowsRegistryAccess.h"
#else
#include "PathRegistryAccess.h"
#endif

namespace {

bool startDetached(const QString& path)
{
    // The tool runs on its own; the program neither waits for it nor
    // watches it.
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

} // namespace

#ifdef _WIN32

SysInfoStarter::SysInfoStarter()
    : m_ownRegistry(std::make_unique<WindowsRegistryAccess>()), m_registry(*m_ownRegistry),
      m_toolFileName([] { return QStringLiteral("\\MSINFO32.EXE"); }),
      m_fileExists([](const QString& path) { return QFileInfo(path).isFile(); }),
      m_startProcess(&startDetached)
{}

#else

SysInfoStarter::SysInfoStarter()
    : m_ownRegistry(std::make_unique<PathRegistryAccess>()), m_registry(*m_ownRegistry),
      m_toolFileName([registry = static_cast<PathRegistryAccess*>(m_ownRegistry.get())] {
          return registry->toolFileName();
      }),
      m_fileExists([](const QString& path) {
          const QFileInfo file(path);
          return file.isFile() && file.isExecutable();
      }),
      m_startProcess(&startDetached)
{}

#endif
