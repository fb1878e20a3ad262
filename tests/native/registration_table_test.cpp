// The setup program's table (setup/registration.table) against the names
// the programs use: what the setup program writes is what the programs
// read, and what the uninstaller removes is everything they write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "loader/startup.h"
#include "preset/registry.h"
#include "setup/registration_table.h"

namespace zentra {
namespace {

using setup::kRegistration;
using setup::kRemovedKeys;
using setup::RegistrationPart;

const setup::RegistrationEntry* find(RegistrationPart part, const std::string& key, const std::string& name) {
    for (const auto& entry : kRegistration)
        if (entry.part == part && key == entry.key && name == entry.name) return &entry;
    return nullptr;
}

// A runtime name with %d stands for the numbered names.
bool removedAtUninstall(const std::string& key, const std::string& name) {
    for (const auto& entry : kRegistration) {
        if (key != entry.key) continue;
        if (entry.part == RegistrationPart::Tree) return true;
        if (entry.part != RegistrationPart::Runtime && entry.part != RegistrationPart::Product) continue;
        std::string pattern = entry.name;
        const size_t number = pattern.find("%d");
        if (number == std::string::npos ? pattern == name
                                        : name.size() > pattern.size() - 2 &&
                                              name.compare(0, number, pattern, 0, number) == 0 &&
                                              name.compare(name.size() - (pattern.size() - number - 2),
                                                           std::string::npos, pattern, number + 2) == 0)
            return true;
    }
    return false;
}

TEST(RegistrationTable, TheProductKeysAreOpenedToTheUsers) {
    for (const char* key : {kProductKey, kPanelKey, kParametersKey})
        EXPECT_NE(find(RegistrationPart::Users, key, ""), nullptr) << key;
}

TEST(RegistrationTable, TheDefaultsAreTheOnesTheTrayProgramReadsAndWrites) {
    const auto* launch = find(RegistrationPart::Product, kPanelKey, kLaunchValue);
    ASSERT_NE(launch, nullptr);
    EXPECT_STREQ(launch->data, "YES");
    const auto* run = find(RegistrationPart::Product, kRunKey, kRunValue);
    ASSERT_NE(run, nullptr);
    // The tray program rewrites the value at every start: the same command.
    EXPECT_EQ(run->data, runValueCommand("%WINDOWS%", 3));
}

TEST(RegistrationTable, TheUninstallerRemovesEveryValueTheProgramsWrite) {
    struct Written {
        const char* key;
        std::string name;
    };
    const Written written[] = {
        {kPanelKey, kLaunchValue},          {kPanelKey, kTemporaryFileValue},
        {kPanelKey, kLoaderWindowValue},    {kPanelKey, kLastIndexValue},
        {kPanelKey, kGameLaunchValue},      {kPanelKey, kLastOpenFileValue},
        {kPanelKey, joystickConfigurationName(0)}, {kPanelKey, joystickConfigurationName(12)},
        {kParametersKey, kAxisTableValues[0]},     {kParametersKey, buttonEntryName(9)},
        {kParametersKey, linkPedalsName(1)},       {kProductKey, kDriverValue},
        {kRunKey, kRunValue},
    };
    for (const Written& w : written) EXPECT_TRUE(removedAtUninstall(w.key, w.name)) << w.key << " " << w.name;
    // The driver's installation writes "Emulation"; it stays.
    EXPECT_FALSE(removedAtUninstall(kPanelKey, kEmulationValue));
    // A name that only looks numbered is not one of them.
    EXPECT_FALSE(removedAtUninstall(kPanelKey, "JoystickConfiguration"));
}

TEST(RegistrationTable, KeysAreRemovedBeforeTheKeysThatHoldThem) {
    const size_t count = sizeof kRemovedKeys / sizeof kRemovedKeys[0];
    for (size_t i = 0; i < count; ++i)
        for (size_t j = 0; j < i; ++j) {
            const std::string earlier = std::string(kRemovedKeys[j].key) + "\\";
            EXPECT_NE(std::string(kRemovedKeys[i].key).rfind(earlier, 0), 0u)
                << kRemovedKeys[j].key << " goes before its subkey " << kRemovedKeys[i].key;
        }
    // Every key the table makes or writes is among them, but the Run key,
    // which belongs to Windows.
    for (const auto& entry : kRegistration) {
        const bool removed = std::any_of(kRemovedKeys, kRemovedKeys + count,
                                         [&](const setup::RemovedKey& k) { return !std::strcmp(k.key, entry.key); });
        EXPECT_EQ(removed, std::strcmp(entry.key, kRunKey) != 0) << entry.key;
    }
}

}  // namespace
}  // namespace zentra
