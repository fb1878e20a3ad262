// The tray loader's resources, read the way the loader reads them: strings
// from the string block of exactly one language, menus by id in the neutral
// language, icons by id. This file is UTF-8: the expected texts are UTF-8
// and are compared, converted, with the UTF-16 texts of the resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "loader/res/loader_resource.h"

namespace zentra {
namespace {

constexpr int kLanguageCount = 7;
const WORD kLanguages[kLanguageCount] = {0x0409, 0x0407, 0x040A, 0x040C, 0x0410, 0x0413, 0x0816};

// The texts of each string id, in the order of kLanguages: English, German,
// Spanish, French, Italian, Dutch, Portuguese.
struct StringRow {
    int id;
    const char* text[kLanguageCount];
};
const StringRow kStrings[] = {
    {IDS_TITLE,
     {"Morvenhollow Racing Wheel", "Morvenhollow Racing Wheel", "Morvenhollow Racing Wheel",
      "Morvenhollow Racing Wheel", "Morvenhollow Racing Wheel", "Morvenhollow Racing Wheel",
      "Morvenhollow Racing Wheel"}},
    {IDS_DISABLE_KBD_EMULATION,
     {"Disable keyboard emulation", "Tastaturemulation abschalten", "Desactivar emulación de teclado",
      "Désactiver l'émulation clavier.", "Disattiva emulazione tastiera", "Toetsenbord emulatie uitzetten",
      "Desactivar emulação de teclado"}},
    {IDS_LAUNCH_ON_STARTUP,
     {"Launch on startup", "Starten der Software beim Einschalten des PC", "Ejecutar al iniciar",
      "Lancer au démarrage", "Lancia all'avvio", "Lanceer startup", "Iniciar a instalação"}},
    {IDS_MANUAL_PRESET,
     {"Select preset manually", "Voreinstellung manuell wählen", "Seleccionar la configuración manualmente",
      "Sélectionner le profil à la main", "Scegli manualmente il preset",
      "Handmatig standaardinstelling selecteren", "Seleccionar valor manualmente"}},
    {IDS_START, {"Start", "Start", "Iniciar", "Démarrer", "Avvio", "Start", "Iniciar"}},
    {IDS_STOP, {"Stop", "Stop", "Parar", "Arrêter", "Arresto", "Stop", "Stop"}},
    {IDS_NOTICE_LAUNCH,
     {"Morvenhollow Detected Game Launch", "Morvenhollow Erkennung Spiele-Start",
      "Cargador de juegos Morvenhollow detectado ", "Morvenhollow a détecté le lancement du jeu",
      "Morvenhollow ha rilevato il lancio di un gioco", "Morvenhollow heeft de start van een game gedetecteerd",
      "O Morvenhollow Detectou o Lançamento de um Jogo"}},
    {IDS_NOTICE_UPLOAD,
     {"Uploading Preset To Zentravoli", "Senden der Voreinstellungen an Zentravoli",
      "Cargando la configuración del Zentravoli", "Téléchargement du profil du Zentravoli en cours",
      "Caricamento del preset sul Zentravoli…", "Bezig met het laden van de Zentravoli instellingen",
      "Ajustando os Valores de Zentravoli"}},
    {IDS_NOTICE_SHUTDOWN,
     {"Morvenhollow Detected Game Shutdown", "Morvenhollow Erkennung Spiele-Schliessung",
      "Finalizador Morvenhollow de juegos detectado", "Morvenhollow a détecté l'arrêt du jeu",
      "Morvenhollow ha rilevato la chiusura di un gioco",
      "Morvenhollow heeft het afsluiten van de game gedetecteerd", "O Morvenhollow Detectou o Fecho de um Jogo "}},
    {IDS_NOTICE_RESTORE,
     {"Restoring Default Preset", "Wiederherstellung der Standard-Voreinstellungen",
      "Restaurando La configuración por defecto", "Restoration du profil par défaut en cours",
      "Ripristino delle impostazioni predefinite…", "Bezig met het herstellen van de standaard instellingen",
      "Repondo os Valores por Defeito"}},
};

// Each language's menu and its three items' texts (control panel, show
// window, exit).
struct MenuRow {
    WORD language;
    int id;
    const char* item[3];
};
const MenuRow kMenus[] = {
    {0x0409, IDR_MENU_ENGLISH, {"Control Panel", "Keyboard Emulation", "Exit"}},
    {0x0413, IDR_MENU_DUTCH, {"Bedieningspaneel", "Toetsenbord-emulatie", "Exit"}},
    {0x040C, IDR_MENU_FRENCH, {"Panneau de contrôle", "Emulation clavier", "Sortir"}},
    {0x0407, IDR_MENU_GERMAN, {"Control Panel", "Tastatur-Emulation", "Exit"}},
    {0x040A, IDR_MENU_SPANISH, {"Panel de control", "Emulación del teclado", "Salir"}},
    {0x0410, IDR_MENU_ITALIAN, {"Pannello di controllo", "Emulazione tastiera", "Exit"}},
    {0x0816, IDR_MENU_PORTUGUESE, {"Painel de controlo", "Emulação de teclado", "Sair"}},
};
const UINT kMenuItemIds[3] = {IDM_CONTROL_PANEL, IDM_SHOW_WINDOW, IDM_EXIT};

std::wstring fromUtf8(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

// String `id` of exactly `language`: entry id % 16 of string block
// id / 16 + 1, a 16-bit length and that many UTF-16 units. False when the
// block or the entry is missing.
bool findString(WORD language, int id, std::wstring& text) {
    HRSRC found = FindResourceExA(nullptr, reinterpret_cast<LPCSTR>(RT_STRING), MAKEINTRESOURCEA(id / 16 + 1),
                                  language);
    if (!found) return false;
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, found)));
    if (!entry) return false;
    for (int i = 0; i < id % 16; ++i) entry += 1 + *entry;
    text.assign(entry + 1, *entry);
    return *entry != 0;
}

std::wstring menuText(HMENU menu, UINT position) {
    WCHAR buffer[128] = {};
    GetMenuStringW(menu, position, buffer, 128, MF_BYPOSITION);
    return buffer;
}

// The RT_ICON image that the icon group `iconId` offers for `size` pixels.
const BYTE* iconImage(int iconId, int size, DWORD& bytes) {
    HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(iconId), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    if (!group) return nullptr;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
    const int imageId = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(nullptr, MAKEINTRESOURCEA(imageId), reinterpret_cast<LPCSTR>(RT_ICON));
    if (!image) return nullptr;
    bytes = SizeofResource(nullptr, image);
    return static_cast<const BYTE*>(LockResource(LoadResource(nullptr, image)));
}

TEST(LoaderResources, EveryStringHasItsTextInEveryLanguage) {
    for (int l = 0; l < kLanguageCount; ++l) {
        for (const StringRow& row : kStrings) {
            SCOPED_TRACE(testing::Message() << "language 0x" << std::hex << kLanguages[l] << std::dec
                                            << ", string " << row.id);
            std::wstring text;
            ASSERT_TRUE(findString(kLanguages[l], row.id, text));
            EXPECT_TRUE(text == fromUtf8(row.text[l]))
                << "expected \"" << row.text[l] << "\", found \"" << toUtf8(text) << "\"";
        }
    }
}

TEST(LoaderResources, EachLanguageDefinesOnlyTheseStringsAndNot24) {
    for (WORD language : kLanguages) {
        for (int id = 0; id < 64; ++id) {
            bool listed = false;
            for (const StringRow& row : kStrings) listed = listed || row.id == id;
            std::wstring text;
            EXPECT_EQ(findString(language, id, text), listed)
                << "language 0x" << std::hex << language << std::dec << ", string " << id;
        }
        std::wstring text;
        EXPECT_FALSE(findString(language, 24, text));
    }
}

TEST(LoaderResources, EachLanguageHasItsNeutralMenuWithThreeItems) {
    for (const MenuRow& row : kMenus) {
        SCOPED_TRACE(testing::Message() << "menu " << row.id);
        HRSRC found = FindResourceExA(nullptr, reinterpret_cast<LPCSTR>(RT_MENU), MAKEINTRESOURCEA(row.id),
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        ASSERT_NE(found, nullptr);
        HMENU menu = LoadMenuIndirectA(LockResource(LoadResource(nullptr, found)));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuItemCount(menu), 1);
        EXPECT_TRUE(menuText(menu, 0) == L"Zentravoli") << toUtf8(menuText(menu, 0));
        HMENU popup = GetSubMenu(menu, 0);
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), 3);
        for (UINT i = 0; i < 3; ++i) {
            EXPECT_EQ(GetMenuItemID(popup, i), kMenuItemIds[i]) << "item " << i;
            EXPECT_TRUE(menuText(popup, i) == fromUtf8(row.item[i]))
                << "expected \"" << row.item[i] << "\", found \"" << toUtf8(menuText(popup, i)) << "\"";
        }
        DestroyMenu(menu);
    }
}

// Every size the notification area asks for at 100, 125, 150 and 200 %.
TEST(LoaderResources, BothIconsHoldTheirOwnImageForEveryTraySize) {
    for (int iconId : {IDI_LOADER, IDI_LOADER_OFF}) {
        SCOPED_TRACE(testing::Message() << "icon " << iconId);
        HICON standard = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
        EXPECT_NE(standard, nullptr);
        for (int size : {16, 20, 24, 32}) {
            SCOPED_TRACE(testing::Message() << size << " pixels");
            auto icon = static_cast<HICON>(
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr);
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            ASSERT_NE(info.hbmColor, nullptr);
            GetObjectA(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);

            // Drawn for this size, not scaled: 32-bit colours with alpha,
            // transparent corners, an opaque centre.
            DWORD bytes = 0;
            const BYTE* image = iconImage(iconId, size, bytes);
            ASSERT_NE(image, nullptr);
            ASSERT_EQ(bytes, DWORD(sizeof(BITMAPINFOHEADER) + size * size * 4 + size * 4 * ((size + 31) / 32)));
            const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
            EXPECT_EQ(header->biWidth, size);
            EXPECT_EQ(header->biHeight, 2 * size);
            EXPECT_EQ(header->biBitCount, 32);
            const BYTE* pixels = image + sizeof(BITMAPINFOHEADER);
            auto alpha = [&](int x, int y) { return pixels[((size - 1 - y) * size + x) * 4 + 3]; };
            EXPECT_EQ(alpha(0, 0), 0);
            EXPECT_EQ(alpha(size - 1, size - 1), 0);
            EXPECT_EQ(alpha(size / 2, size / 2), 255);
        }
    }
    DWORD normalBytes = 0, disabledBytes = 0;
    const BYTE* normal = iconImage(IDI_LOADER, 16, normalBytes);
    const BYTE* disabled = iconImage(IDI_LOADER_OFF, 16, disabledBytes);
    ASSERT_TRUE(normal && disabled && normalBytes == disabledBytes);
    EXPECT_NE(memcmp(normal, disabled, normalBytes), 0) << "the disabled icon must differ from the normal one";
}

}  // namespace
}  // namespace zentra
