#include "SystemErrorText.h"

#include <cerrno>

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

#ifdef _WIN32
// Win32 error numbers, as the system category reports them there.
constexpr Reason WindowsReasons[] = {
    {2, "Datei nicht gefunden"},
    {3, "Pfad nicht gefunden"},
    {4, "Zu viele offene Dateien"},
    {5, "Zugriff verweigert"},
    {19, "Datenträger ist schreibgeschützt"},
    {32, "Die Datei wird von einem anderen Programm benutzt"},
    {33, "Ein Teil der Datei ist von einem anderen Programm gesperrt"},
    {39, "Kein Platz mehr auf dem Datenträger"},
    {80, "Datei ist schon vorhanden"},
    {112, "Kein Platz mehr auf dem Datenträger"},
    {123, "Ungültiger Datei- oder Ordnername"},
    {145, "Ordner ist nicht leer"},
    {183, "Datei oder Ordner ist schon vorhanden"},
    {206, "Name oder Pfad zu lang"},
    {267, "Ungültiger Ordnername"},
    {1920, "Die Datei kann vom System nicht geöffnet werden"},
};
#endif

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
    const char* text = nullptr;
#ifdef _WIN32
    if (reason.category() == std::system_category())
        text = lookUp(WindowsReasons, reason.value());
#endif
    if (!text) {
        const std::error_condition condition = reason.default_error_condition();
        if (condition.category() == std::generic_category())
            text = lookUp(PosixReasons, condition.value());
    }
    if (text)
        return text;
    return "Systemfehler " + std::to_string(reason.value()) + ": " + reason.message();
}
