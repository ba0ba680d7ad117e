// What the POSIX layer answers in place of Windows' queries: the country code
// from the locale files, the system name from os-release, the machine width,
// the error texts, and the wait for a real child, which must sleep its slices,
// not spin, with a pidfd or without; on temporary system roots and on this machine's own.
#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "i18n/system_locale.h"
#include "platform/posix/country_calling_codes.h"
#include "platform/posix/os_release.h"
#include "platform/posix/posix_locale_queries.h"
#include "platform/posix/posix_message_queries.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/posix_system_type_queries.h"
#include "platform/posix/shell_assignments.h"
#include "sysinfo/get_api_error.h"
#include "sysinfo/is_64bit_system.h"
#include "tests/support/checker_folder.h"

namespace kalmor {
namespace {

namespace fs = std::filesystem;

TEST(PosixLocale, TerritoryAndCallingCodeOfALocaleName) {
  const std::pair<const char*, std::optional<std::string>> territories[] = {
      {"de_AT@euro", "AT"}, {"de_de.utf8", "DE"}, {"C.UTF-8", std::nullopt}, {"de_.UTF-8", std::nullopt},
  };
  for (const auto& [locale, territory] : territories) EXPECT_EQ(LocaleTerritory(locale), territory) << locale;
  const std::pair<const char*, std::optional<std::string_view>> codes[] = {
      {"DE", "49"}, {"AD", "376"}, {"ZW", "263"}, {"ZZ", std::nullopt}, {"de", std::nullopt},
  };
  for (const auto& [country, code] : codes) EXPECT_EQ(CallingCodeForCountry(country), code) << country;
}

TEST(PosixLocale, CountryCodeOfTheSystemLocaleFiles) {
  CheckerFolder scratch(KALMOR_STANDIN_SOLVER, "locale");
  const fs::path root = scratch.base / "root";
  // /etc/default/locale, /etc/locale.conf, the answer
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"# set by the installer\nLANG=\"de_AT.UTF-8\"\n", "", "43"},
      {"LANG=en_US.UTF-8\n", "LANG=de_DE.UTF-8\n", "1"},
      {"LANGUAGE=de_DE:de\n", "LANG='de_CH.UTF-8'\n", "41"},
      {"LANG=C.UTF-8\n", "", ""},
  };
  for (const auto& [defaultLocale, localeConf, expected] : rows) {
    Spit(root / "etc/default/locale", defaultLocale);
    Spit(root / "etc/locale.conf", localeConf);
    PosixLocaleQueries queries(root);
    EXPECT_EQ(GetSystemLocaleInfo(queries, kLocaleICountry), expected) << defaultLocale << " / " << localeConf;
  }
  Spit(root / "etc/default/locale", "LANG=de_DE.UTF-8\n");
  PosixLocaleQueries queries(root);
  const std::uint32_t lcid = queries.getSystemDefaultLCID();
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(queries.getLocaleInfo(lcid, kLocaleICountry, buffer, 2), 0);  // too small: nothing written
  EXPECT_EQ(std::string(buffer, 5), "xxxxx");
  EXPECT_EQ(queries.getLocaleInfo(lcid, kLocaleICountry, buffer, 5), 3);
  EXPECT_EQ(std::string(buffer, 5), std::string("49\0xx", 5));
}

TEST(PosixSystemName, PrettyNameFromEtcBeforeUsrLibWithShellQuoting) {
  CheckerFolder scratch(KALMOR_STANDIN_SOLVER, "os");
  const fs::path root = scratch.base / "root";
  EXPECT_THROW(PosixSystemName(root), std::runtime_error);
  Spit(root / "etc/os-release", "NAME=Custom\nPRETTY_NAME=\"\"\n");
  Spit(root / "usr/lib/os-release", "PRETTY_NAME='Vendor Default 1'\n");
  EXPECT_EQ(PosixSystemName(root), "Vendor Default 1");
  Spit(root / "etc/os-release", "# PRETTY_NAME=\"commented\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
  EXPECT_EQ(PosixSystemName(root), "Debian GNU/Linux 12 (bookworm)");

  const std::pair<const char*, const char*> values[] = {
      {R"("Say \"hi\" for \$5 \`now\` \\ \n")", R"(Say "hi" for $5 `now` \ \n)"},
      {R"('single \"keeps\" $all')", R"(single \"keeps\" $all)"},
      {R"(Arch\ Linux)", "Arch Linux"}, {R"("a"'b'c)", "abc"}, {"\"Quoted\" # comment", "Quoted"},
      {"\"CRLF\"\r", "CRLF"}, {"plain trailing", "plain"}, {"\"unterminated", "unterminated"},
  };
  for (const auto& [raw, unquoted] : values) EXPECT_EQ(UnquoteShellValue(raw), unquoted) << raw;
  std::istringstream lines(
      "LANGUAGE=en_GB:en\nLANG=en_US.UTF-8\n  export LANG=\"de_DE.UTF-8\"\nXLANG=it\nexportLANG=es\n");
  EXPECT_EQ(FindShellAssignment(lines, "LANG"), "de_DE.UTF-8");
  std::istringstream without("LANG =de_DE\n");
  EXPECT_EQ(FindShellAssignment(without, "LANG"), std::nullopt);
}

TEST(PosixSystemType, MachineNamesInWindowsWordsAndTheWidthAnswer) {
  for (const auto& [machine, type] : {std::pair{"x86_64", "x64-based PC"}, {"riscv64", "riscv64-based PC"}}) {
    EXPECT_EQ(SystemTypeForMachine(machine), type);
  }
#if defined(__x86_64__)
  EXPECT_EQ(UnameMachine(), "x86_64") << "the machine this build runs on";
#endif
  for (const auto& [machine, is64] : {std::pair{std::optional<std::string>("x86_64"), true}, {"i686", false},
                                      {"aarch64", false}, {std::nullopt, false}}) {
    PosixSystemTypeQueries queries([answer = machine] { return answer; });
    EXPECT_EQ(Is64BitSystem(queries), is64) << machine.value_or("uname fails");
    EXPECT_EQ(Is64BitSystem(queries), is64) << "a second query answers alike";
  }
}

TEST(PosixMessages, SystemTextsLikeFormatMessageAOrTheFallback) {
  PosixMessageQueries queries;
  std::string buffer(1024, ' ');
  const std::uint32_t count = queries.formatMessage(0x12FF, ENOENT, 0x0400, buffer.data(), 1024);
  ASSERT_GT(count, 0u);
  EXPECT_EQ(buffer.find('\0'), count);
  EXPECT_EQ(GetAPIError(queries, ENOENT), buffer.substr(0, count));
  std::string small(count, ' ');
  EXPECT_EQ(queries.formatMessage(0x12FF, ENOENT, 0x0400, small.data(), count), 0u);  // no room for the NUL
  EXPECT_EQ(GetAPIError(queries, 123456), "Unbekannter Fehler: &H1E240");
}

// The wait sleeps its slices, not a busy loop, with or without a pidfd.
void ExpectAWaitInTenMillisecondSlices(bool pidfd) {
  PosixProcesses processes;
  auto process = processes.start("/bin/sleep", "/bin/sleep 0.5", SpawnOptions{});
  ASSERT_TRUE(process) << "error " << process.error();
  EXPECT_EQ((*process)->waitsOnPidfd(), pidfd);
  int slices = 0;
  while ((*process)->wait(10) == WaitOutcome::Timeout && ++slices < 200) {
  }
  EXPECT_LE(slices, 60) << "half a second is about 50 slices of 10 ms";
  EXPECT_GE(slices, 25) << "each slice that sees the child run lasts its 10 ms";
}

// As on kernels before 5.3: pidfd_open is unknown to this process from now on.
void DenyPidfdOpen() {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_pidfd_open, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program)) std::_Exit(2);
}

TEST(PosixProcesses, AWaitSleepsItsTenMillisecondSliceWhileTheChildRunsWithOrWithoutPidfd) {
  ExpectAWaitInTenMillisecondSlices(true);
  EXPECT_EXIT(DenyPidfdOpen(); ExpectAWaitInTenMillisecondSlices(false); std::_Exit(::testing::Test::HasFailure()),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kalmor
