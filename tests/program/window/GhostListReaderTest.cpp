#include "program/window/GhostListReader.h"

#include "library/framework/WindowHandles.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const UINT ReadMessage = WM_APP + 7;

std::string Id(char digit)
{
    return std::string(32, digit);
}

// The names that a reading of `profile` offers, taken when its message
// arrives at a window of this thread.
std::vector<std::wstring> Offered(const std::wstring& profile)
{
    UniqueWindow window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    EXPECT_TRUE(window.IsValid());
    GhostListReader reader(ReadMessage);
    reader.Start(window.Get(), profile);
    std::vector<std::wstring> names = {L"not taken"};
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        if (message.message == ReadMessage)
        {
            EXPECT_TRUE(reader.Take(message.wParam, names));
            break;
        }
        DispatchMessageA(&message);
    }
    return names;
}

// A store tied only through an account that cannot be read looks like a
// ghost: the list offers nothing of such a profile, and the ghosts of one
// read whole.
TEST(GhostListReader, OffersNothingOfAProfileReadInPart)
{
    ScratchRegistry registry;
    const SectionValues store = SectionValues().WideProvider("mspst.dll");
    for (const char* name : {"Whole", "In part"})
    {
        ProfileTreeBuilder profile(name);
        profile.AddAccount("0001", "Jan", Id('1'));
        profile.AddService(Id('1'), Id('2'));
        profile.AddSection(Id('a'), SectionValues(store).WideDisplayName("Archiwum"));
    }
    ProfileTreeBuilder("In part").SetValue(std::string(ProfileTreeBuilder::AccountsKey) + "\\0002", "Account Name",
                                           REG_SZ, std::string("Ewa\0", 4));

    EXPECT_EQ(std::vector<std::wstring>{L"Archiwum"}, Offered(L"Whole"));
    EXPECT_EQ(std::vector<std::wstring>{}, Offered(L"In part"));
}
} // namespace
