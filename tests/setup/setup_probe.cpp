// ZntSetupProbe: what the setup test asks Windows about an installation.
//
//   ZntSetupProbe access KEY     the access list of HKLM\KEY, and whether a
//                                member of Users who is no administrator may
//                                open it with full access (as both programs do)
//   ZntSetupProbe run-value      starts the command of the Run value
//                                "VedodZNT" as Windows does at logon and waits
//                                for the tray program's window
//   ZntSetupProbe loader         whether a tray program's window exists
//
// Prints one fact a line; exit code 0 when the probe could answer.
#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "preset/registry.h"

namespace {

const char kLoaderClass[] = "MH_ZENTRA_USB";

int fail(const char* what, DWORD error = GetLastError()) {
    std::printf("error: %s (%lu)\n", what, error);
    return 1;
}

// Whether the administrators-free form of this process's token (the token a
// standard user has) is granted `wanted` by the descriptor.
bool standardUserGranted(PSECURITY_DESCRIPTOR descriptor, DWORD wanted, bool& granted) {
    HANDLE token = nullptr, restricted = nullptr, impersonation = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &token)) return false;
    BYTE adminSid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof adminSid;
    SID_AND_ATTRIBUTES disabled{};
    bool ok = CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, adminSid, &sidSize);
    disabled.Sid = adminSid;
    ok = ok && CreateRestrictedToken(token, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted);
    ok = ok && DuplicateToken(restricted, SecurityImpersonation, &impersonation);
    if (ok) {
        GENERIC_MAPPING mapping{KEY_READ, KEY_WRITE, KEY_EXECUTE, KEY_ALL_ACCESS};
        PRIVILEGE_SET privileges{};
        DWORD privilegesSize = sizeof privileges, grantedAccess = 0;
        BOOL status = FALSE;
        ok = AccessCheck(descriptor, impersonation, wanted, &mapping, &privileges, &privilegesSize, &grantedAccess,
                         &status);
        granted = ok && status && (grantedAccess & wanted) == wanted;
    }
    if (impersonation) CloseHandle(impersonation);
    if (restricted) CloseHandle(restricted);
    CloseHandle(token);
    return ok;
}

int access(const char* key) {
    HKEY k;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, READ_CONTROL, &k);
    if (rc != ERROR_SUCCESS) return fail("cannot open the key", DWORD(rc));
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                      DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    RegGetKeySecurity(k, what, nullptr, &size);
    std::string buffer(size ? size : 1, '\0');
    PSECURITY_DESCRIPTOR descriptor = &buffer[0];
    rc = RegGetKeySecurity(k, what, descriptor, &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return fail("cannot read the key's security", DWORD(rc));
    char* text = nullptr;
    if (ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                             &text, nullptr)) {
        std::printf("access list: %s\n", text);
        LocalFree(text);
    }
    bool granted = false;
    if (!standardUserGranted(descriptor, KEY_ALL_ACCESS, granted)) return fail("cannot check a standard user's access");
    std::printf("standard user, full access: %s\n", granted ? "granted" : "denied");
    return 0;
}

HWND waitForLoader(DWORD ms) {
    for (DWORD waited = 0;; waited += 100) {
        HWND window = FindWindowA(kLoaderClass, nullptr);
        if (window || waited >= ms) return window;
        Sleep(100);
    }
}

int runValue() {
    HKEY k;
    char command[MAX_PATH * 2] = {};
    DWORD size = sizeof command - 1, type = 0;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, zentra::kRunKey, 0, KEY_READ, &k);
    if (rc != ERROR_SUCCESS) return fail("no Run key", DWORD(rc));
    rc = RegQueryValueExA(k, zentra::kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(command), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return fail("no Run value", DWORD(rc));
    std::printf("run value: %s\n", command);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return fail("cannot start it");
    HWND window = waitForLoader(15000);
    const bool running = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("loader window: %s\n", window ? "yes" : "no");
    std::printf("loader running: %s\n", running ? "yes" : "no");
    if (window) std::printf("loader handle: %#lx\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !std::strcmp(argv[1], "access")) return access(argv[2]);
    if (argc == 2 && !std::strcmp(argv[1], "run-value")) return runValue();
    if (argc == 2 && !std::strcmp(argv[1], "loader")) {
        std::printf("loader window: %s\n", waitForLoader(0) ? "yes" : "no");
        return 0;
    }
    std::fputs("usage: ZntSetupProbe access KEY | run-value | loader\n", stderr);
    return 2;
}
