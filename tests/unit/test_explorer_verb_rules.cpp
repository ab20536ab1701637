#include <string>

#include "tests/support/wide_text.h"
#include "ui/explorer_verb_rules.h"

namespace {

constexpr const wchar_t* EXE = L"C:\\Program Files\\Trimlet\\Trimlet.exe";

bool SamePathAscii(const wchar_t* a, const wchar_t* b) { return EqualsIgnoreAsciiCase(a, b); }

VerbRegistration Registered(const wchar_t* caption, const wchar_t* command) {
  VerbRegistration r;
  r.allRead = true;
  CopyText(r.directoryCaption, caption);
  CopyText(r.driveCaption, caption);
  CopyText(r.directoryCommand, command);
  CopyText(r.driveCommand, command);
  return r;
}

}  // namespace

TEST_SUITE("explorer_verb_rules") {
  TEST_CASE("key paths and the command line") {
    TextBuffer path;
    VerbKeyPath(VerbTarget::Directory, path);
    CHECK_TEXT(path, L"Directory\\shell\\Bluecrane.Trimlet");
    VerbCommandKeyPath(VerbTarget::Drive, path);
    CHECK_TEXT(path, L"Drive\\shell\\Bluecrane.Trimlet\\command");
    TextBuffer command;
    CHECK(BuildVerbCommand(EXE, command));
    CHECK_TEXT(command, L"\"C:\\Program Files\\Trimlet\\Trimlet.exe\" /EXPLORE %1");
  }

  TEST_CASE("our own registration is consistent") {
    TextBuffer command;
    BuildVerbCommand(EXE, command);
    CHECK(IsVerbConsistent(Registered(L"Open in Trimlet", command), EXE, SamePathAscii));
    // Quotes are ignored and the path's case does not matter.
    CHECK(IsVerbConsistent(
        Registered(L"Open", L"c:\\program files\\trimlet\\TRIMLET.EXE /EXPLORE %1"), EXE,
        SamePathAscii));
  }

  TEST_CASE("a registration that is not ours, or not whole, is not consistent") {
    TextBuffer command;
    BuildVerbCommand(EXE, command);
    const VerbRegistration good = Registered(L"Open in Trimlet", command);

    VerbRegistration unread = good;
    unread.allRead = false;
    CHECK_FALSE(IsVerbConsistent(unread, EXE, SamePathAscii));

    VerbRegistration captions = good;
    CopyText(captions.driveCaption, L"Open In Trimlet");
    CHECK_FALSE(IsVerbConsistent(captions, EXE, SamePathAscii));

    VerbRegistration commands = good;
    CopyText(commands.driveCommand, L"\"C:\\Program Files\\Trimlet\\trimlet.exe\" /EXPLORE %1");
    CHECK_FALSE(IsVerbConsistent(commands, EXE, SamePathAscii));

    CHECK_FALSE(IsVerbConsistent(Registered(L"", command), EXE, SamePathAscii));
    CHECK_FALSE(IsVerbConsistent(Registered(L"Open", L""), EXE, SamePathAscii));
    CHECK_FALSE(
        IsVerbConsistent(Registered(L"Open", L"\"C:\\Program Files\\Trimlet\\Trimlet.exe\" %1"),
                         EXE, SamePathAscii));
    CHECK_FALSE(IsVerbConsistent(Registered(L"Open", L"\"D:\\Old\\Trimlet.exe\" /EXPLORE %1"), EXE,
                                 SamePathAscii));
    CHECK_FALSE(IsVerbConsistent(
        Registered(L"Open", L"\"C:\\Program Files\\Trimlet\\Trimlet.exe\" /EXPLORE %1 extra"), EXE,
        SamePathAscii));
  }

  TEST_CASE("key paths lose their last parts") {
    wchar_t key[64] = L"Software\\Bluecrane\\Trimlet\\Options";
    RemoveLastKeyParts(key, 1);
    CHECK_TEXT(key, L"Software\\Bluecrane\\Trimlet");
    RemoveLastKeyParts(key, 1);
    CHECK_TEXT(key, L"Software\\Bluecrane");
    RemoveLastKeyParts(key, 5);
    CHECK_TEXT(key, L"");
  }
}
