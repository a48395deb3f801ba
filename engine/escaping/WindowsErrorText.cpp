#ifdef _WIN32

#include "WindowsErrorText.h"

#include "NativePath.h"

#include <algorithm>
#include <iterator>
#include <windows.h>

namespace {

struct Known
{
    unsigned long Code;
    const char* Text;
};

constexpr Known KnownCodes[] = {
    {ERROR_FILE_NOT_FOUND, "Datei nicht gefunden"},
    {ERROR_PATH_NOT_FOUND, "Pfad nicht gefunden"},
    {ERROR_ACCESS_DENIED, "Zugriff verweigert"},
    {ERROR_INVALID_DRIVE, "Laufwerk nicht gefunden"},
    {ERROR_WRITE_PROTECT, "Datenträger ist schreibgeschützt"},
    {ERROR_NOT_READY, "Laufwerk nicht bereit"},
    {ERROR_SHARING_VIOLATION, "wird von einem anderen Programm verwendet"},
    {ERROR_LOCK_VIOLATION, "von einem anderen Programm gesperrt"},
    {ERROR_HANDLE_DISK_FULL, "Datenträger voll"},
    {ERROR_BAD_NETPATH, "Netzwerkpfad nicht gefunden"},
    {ERROR_NETNAME_DELETED, "Netzwerkverbindung unterbrochen"},
    {ERROR_BAD_NET_NAME, "Freigabe nicht gefunden"},
    {ERROR_FILE_EXISTS, "Datei existiert bereits"},
    {ERROR_DISK_FULL, "Datenträger voll"},
    {ERROR_INVALID_NAME, "Name ungültig"},
    {ERROR_DIR_NOT_EMPTY, "Ordner ist nicht leer"},
    {ERROR_ALREADY_EXISTS, "existiert bereits"},
    {ERROR_FILENAME_EXCED_RANGE, "Name oder Pfad zu lang"},
    {ERROR_DIRECTORY, "kein Ordner"},
    {ERROR_IO_DEVICE, "Ein-/Ausgabefehler des Geräts"},
    {ERROR_NOT_ENOUGH_QUOTA, "Kontingent erschöpft"},
    {ERROR_FILE_CORRUPT, "Datei oder Ordner beschädigt"},
    {ERROR_CANT_ACCESS_FILE, "Datei kann nicht geöffnet werden"},
    {ERROR_CANT_RESOLVE_FILENAME, "Verknüpfung kann nicht aufgelöst werden"},
};

} // namespace

std::string WindowsErrorText::of(unsigned long code)
{
    const auto known = std::find_if(std::begin(KnownCodes), std::end(KnownCodes),
                                    [code](const Known& entry) { return entry.Code == code; });
    return known != std::end(KnownCodes) ? known->Text : systemText(code);
}

bool WindowsErrorText::meansNoWriteCanSucceed(unsigned long code)
{
    return code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL ||
           code == ERROR_WRITE_PROTECT || code == ERROR_NOT_ENOUGH_QUOTA;
}

// In the user's language, taken in UTF-16 and given in UTF-8.
std::string WindowsErrorText::systemText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring wide(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                             wide.back() == L'.'))
        wide.pop_back();
    std::string utf8;
    if (wide.empty() || !toUtf8Text(wide, utf8))
        return "Windows-Fehler " + std::to_string(code);
    return utf8;
}

#endif
