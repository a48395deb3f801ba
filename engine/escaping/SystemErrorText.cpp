#include "SystemErrorText.h"

#include <cerrno>

#ifdef _WIN32
#include "WindowsErrorText.h"
#endif

namespace {

struct Reason
{
    int Number;
    const char* Text;
};

constexpr Reason PosixReasons[] = {
    {ENOENT, "Datei oder Ordner nicht gefunden"},
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Vorgang nicht erlaubt"},
    {EEXIST, "Datei oder Ordner ist schon vorhanden"},
    {ENOSPC, "Kein Platz mehr auf dem Datenträger"},
    {EROFS, "Datenträger ist schreibgeschützt"},
#ifdef EDQUOT
    {EDQUOT, "Speicherkontingent überschritten"},
#endif
    {ENAMETOOLONG, "Name zu lang"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    {EISDIR, "Ist ein Ordner"},
#ifdef ELOOP
    {ELOOP, "Zu viele symbolische Verknüpfungen"},
#endif
    {EBUSY, "Gerät oder Datei wird gerade benutzt"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {EIO, "Ein-/Ausgabefehler des Datenträgers"},
    {ENOTEMPTY, "Ordner ist nicht leer"},
    {EXDEV, "Nicht über Datenträgergrenzen hinweg möglich"},
    {EINVAL, "Ungültiger Name oder ungültiges Argument"},
    {EFBIG, "Datei zu groß"},
#ifdef ETXTBSY
    {ETXTBSY, "Datei wird gerade ausgeführt"},
#endif
    {EAGAIN, "Vorübergehend nicht verfügbar, bitte erneut versuchen"},
    {ENOMEM, "Nicht genug Arbeitsspeicher"},
};

template <std::size_t Count>
const char* lookUp(const Reason (&table)[Count], int number)
{
    for (const Reason& reason : table) {
        if (reason.Number == number)
            return reason.Text;
    }
    return nullptr;
}

} // namespace

std::string SystemErrorText::german(const std::error_code& reason)
{
#ifdef _WIN32
    // Win32 numbers have German words of their own, or the system's text.
    if (reason.category() == std::system_category())
        return WindowsErrorText::of(static_cast<unsigned long>(reason.value()));
#endif
    const char* text = nullptr;
    const std::error_condition condition = reason.default_error_condition();
    if (condition.category() == std::generic_category())
        text = lookUp(PosixReasons, condition.value());
    if (text)
        return text;
    return "Systemfehler " + std::to_string(reason.value()) + ": " + reason.message();
}
