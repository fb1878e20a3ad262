// The control panel plug-in as the game-controllers panel sees it: the
// stand-in panel finds it through the registry, loads it, shows its sheet
// and closes it again.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace zentra {
namespace {

std::string besideTests(const char* file) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + file;
}

// Runs the stand-in panel; returns its exit code and what it printed.
DWORD runHost(const std::string& args, std::string& output) {
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "hst", 0, name);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + besideTests("ZntPanelHost.exe") + "\" " + args;
    DWORD code = 999;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 998);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(out);
    HANDLE in = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[8192] = "";
    DWORD got = 0;
    ReadFile(in, buffer, sizeof buffer - 1, &got, nullptr);
    CloseHandle(in);
    DeleteFileA(name);
    output.assign(buffer, got);
    return code;
}

class PanelHost : public ::testing::Test {
protected:
    void SetUp() override {
        std::string out;
        ASSERT_EQ(runHost("register", out), 0u) << out;
    }
};

TEST_F(PanelHost, FindsTheSheetThroughTheRegistryAndClosesItWithOk) {
    std::string out;
    ASSERT_EQ(runHost("show --id 0 --close ok --after 1500", out), 0u) << out;
    EXPECT_NE(out.find("class: {8E2BAA80-969B-11D3-B1E7-0060080C0429}"), std::string::npos) << out;
    EXPECT_NE(out.find("ZentraCpl.dll"), std::string::npos) << out;
    EXPECT_NE(out.find("sheet: MORVENHOLLOW ZENTRAVOLI"), std::string::npos) << out;
    EXPECT_NE(out.find("pages: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("template 144"), std::string::npos) << out;
    EXPECT_NE(out.find("result: 1"), std::string::npos) << out;
    // The sheet gave back the DirectInput objects it was handed.
    EXPECT_NE(out.find("device: unacquired 1, released to 0"), std::string::npos) << out;
    EXPECT_NE(out.find("joyconfig: unacquired 1, released to 0"), std::string::npos) << out;
    EXPECT_NE(out.find("can unload: yes"), std::string::npos) << out;
}

TEST_F(PanelHost, TakesAPictureOfTheSheetBeforeClosingIt) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string picture = std::string(dir) + "zentra-sheet.bmp";
    DeleteFileA(picture.c_str());
    std::string out;
    ASSERT_EQ(runHost("show --close cancel --after 1500 --screenshot \"" + picture + "\"", out), 0u) << out;
    EXPECT_NE(out.find("screenshot: saved"), std::string::npos) << out;
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(picture.c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 100000u) << "a whole sheet, 24 bits a pixel";
    DeleteFileA(picture.c_str());
}

TEST_F(PanelHost, CancelEndsTheSheetToo) {
    std::string out;
    ASSERT_EQ(runHost("show --close cancel --after 1000", out), 0u) << out;
    EXPECT_NE(out.find("result: 0"), std::string::npos) << out;
    EXPECT_NE(out.find("can unload: yes"), std::string::npos) << out;
}

TEST_F(PanelHost, AnUnregisteredWheelHasNoSheet) {
    std::string out;
    ASSERT_EQ(runHost("unregister", out), 0u);
    EXPECT_EQ(runHost("show --close ok --after 500", out), 1u);
    EXPECT_NE(out.find("no ConfigCLSID"), std::string::npos) << out;
}

}  // namespace
}  // namespace zentra
