#include "cli/commands.h"

#include "recovery/lanes.h"
#include "recovery/md5_lanes.h"
#include "recovery/region_multiply.h"

namespace vtq::cli {
namespace {

constexpr std::string_view kSizes =
    "SIZE is a number of bytes, or a number followed by k, m or g (times 1,024,\n"
    "1,048,576 or 1,073,741,824), or a size of the program's preset list: 720k\n"
    "(730,112 bytes), 1.44m (1,457,664), 1.72m (1,745,408) or 2.88m (3,019,899).\n"
    "A fragment is 10k to 100m.\n";

constexpr std::string_view kPassphrases =
    "Passphrases: -p PASSPHRASE is visible to other users of the computer, who can\n"
    "read it in the process list; prefer --passphrase-file FILE (its first line),\n"
    "-P or --ask-passphrase (split: typed twice at the terminal, not shown), or the\n"
    "environment variable VTQ_PASSPHRASE, used when no option gives one. assemble\n"
    "asks at a terminal for the passphrase of an encrypted series it was not given.\n"
    "Check digits (-c) and passphrases need the own format (-f own): a raw or old\n"
    "series has no header to record them.\n";

constexpr std::string_view kOutput =
    "At a terminal a progress line shows the bytes done, the percentage, the speed\n"
    "and the time left. Exit status: 0 done, 1 the run failed or stopped, 2 the\n"
    "command line or a missing answer stopped it before anything was written.\n";

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts)
    text += part;
  return text;
}

}  // namespace

std::string_view UsageText() {
  static const std::string text = Joined(
      {"usage: vtq split SOURCE [-d DIR] [-s SIZE] [--first-size SIZE] [-f own|raw|old] [-c]\n"
       "                 [-p PASSPHRASE | --passphrase-file FILE | -P] [--regen N] [--bat]\n"
       "                 [--sha256] [--recovery PERCENT | --recovery-count N]\n"
       "                 [--yes|--no] [-v|-q]\n"
       "       vtq assemble FIRST [-d DIR] [-p PASSPHRASE | --passphrase-file FILE]\n"
       "                 [--unknown-as raw|old] [--repair] [--yes|--no] [-v|-q]\n"
       "       vtq verify FIRST [-p PASSPHRASE | --passphrase-file FILE]\n"
       "                 [--unknown-as raw|old]\n"
       "       vtq repair FIRST [--par2 FILE] [-p PASSPHRASE | --passphrase-file FILE]\n"
       "                 [--unknown-as raw|old] [-q]\n"
       "       vtq info FRAGMENT [--unknown-as raw|old]\n"
       "       vtq COMMAND --help | vtq --version\n"
       "\n"
       "split cuts SOURCE into a numbered series beside it (big.iso: big.001, big.002,\n"
       "...); assemble joins a series from its first fragment into the file beside it;\n"
       "verify checks a series without writing anything; repair rebuilds lost or\n"
       "damaged fragments from the series' PAR2 recovery files; info shows what a\n"
       "first fragment's header says. -d DIR writes elsewhere.\n"
       "\n",
       kSizes, "\n", kPassphrases, "\n", kOutput});
  return text;
}

std::string_view SplitHelp() {
  static const std::string text =
      Joined({"usage: vtq split SOURCE [options]\n"
              "\n"
              "Cuts SOURCE into fragments named after it: big.iso gives big.001, big.002, ...\n"
              "\n"
              "  -d DIR                  Writes the fragments into DIR instead of the folder\n"
              "                          that holds SOURCE.\n"
              "  -s SIZE                 Makes every fragment SIZE bytes (1.44m when not given).\n"
              "  --first-size SIZE       Makes the first fragment a different size.\n"
              "  -f own|raw|old          Writes the program's own format with its header (own,\n"
              "                          the default), plain slices that copy /b or cat join\n"
              "                          (raw), or the older name-and-escape format (old).\n"
              "  -c                      Ends every fragment with four check digits that\n"
              "                          assemble verifies.\n"
              "  -p PASSPHRASE           Encrypts the series with PASSPHRASE.\n"
              "  --passphrase-file FILE  Encrypts the series with the first line of FILE.\n"
              "  -P, --ask-passphrase    Asks for the passphrase twice at the terminal.\n"
              "  --regen N               Writes fragment N again and leaves the others alone.\n"
              "  --bat                   Writes a batch file beside a raw series that joins it\n"
              "                          on Windows without this program.\n"
              "  --sha256                Writes the SHA-256 digests of SOURCE and of every\n"
              "                          fragment beside the series (big.sha256), in the form\n"
              "                          sha256sum -c reads; assemble and verify check them.\n"
              "  --recovery PERCENT      Writes PAR2 recovery files beside the series\n"
              "                          (big.par2, big.vol0+1.par2, ...) with PERCENT of its\n"
              "                          size in recovery slices, rounded up: vtq repair or\n"
              "                          par2 rebuilds as many lost fragments from them.\n"
              "  --recovery-count N      Writes N recovery slices instead; a slice is as large\n"
              "                          as a fragment.\n"
              "  --yes, --no             Answers every question Yes or No instead of asking.\n"
              "  -v                      Prints each fragment's name and size as it is written.\n"
              "  -q                      Prints nothing but errors.\n"
              "  -h, --help              Shows this help.\n"
              "\n",
              kSizes, "\n", kPassphrases, "\n", kOutput});
  return text;
}

std::string_view AssembleHelp() {
  static const std::string text =
      Joined({"usage: vtq assemble FIRST [options]\n"
              "\n"
              "Joins the series whose first fragment is FIRST (big.001) back into its file,\n"
              "named as its header says (a raw series: big.Unk), and prints the file's name.\n"
              "\n"
              "  -d DIR                  Writes the file into DIR instead of the folder that\n"
              "                          holds FIRST.\n"
              "  -p PASSPHRASE           Deciphers an encrypted series with PASSPHRASE.\n"
              "  --passphrase-file FILE  Deciphers with the first line of FILE.\n"
              "  --unknown-as raw|old    Answers the question of a fragment that may be raw data\n"
              "                          or the older format: raw keeps every byte, old strips\n"
              "                          the name at its start.\n"
              "  --repair                Rebuilds missing or damaged fragments from the series'\n"
              "                          recovery files first (at a terminal, vtq asks).\n"
              "  --yes, --no             Answers every question Yes or No instead of asking.\n"
              "  -v                      Prints each fragment's name and size as it is read.\n"
              "  -q                      Prints nothing but errors.\n"
              "  -h, --help              Shows this help.\n"
              "\n",
              kPassphrases, "\n", kOutput});
  return text;
}

std::string_view InfoHelp() {
  return "usage: vtq info FRAGMENT [options]\n"
         "\n"
         "Shows what the header of a first fragment says, one \"Name: value\" a line.\n"
         "\n"
         "  --unknown-as raw|old    Reads a fragment that may be raw data or the older\n"
         "                          format as raw (raw) or as the older format (old, the\n"
         "                          default).\n"
         "  -h, --help              Shows this help.\n";
}

std::string_view VerifyHelp() {
  static const std::string text =
      Joined({"usage: vtq verify FIRST [options]\n"
              "\n"
              "Checks the series whose first fragment is FIRST without writing anything: every\n"
              "fragment there and of the length the series needs, the check digits of a\n"
              "series that has them, and the digests of its .sha256 file when there is one.\n"
              "Names every missing or damaged fragment and the --regen that re-creates it, and\n"
              "says how many lost fragments the series' recovery files (big.par2) could\n"
              "rebuild. Exit status 0 when the series is sound, 1 when it is not.\n"
              "\n"
              "  -p PASSPHRASE           Opens an encrypted series to check its check digits.\n"
              "  --passphrase-file FILE  Opens it with the first line of FILE.\n"
              "  --unknown-as raw|old    Reads a fragment that may be raw data or the older\n"
              "                          format as raw (raw) or as the older format (old).\n"
              "  -h, --help              Shows this help.\n"
              "\n",
              kPassphrases});
  return text;
}

std::string_view RepairHelp() {
  static const std::string text =
      Joined({"usage: vtq repair FIRST [options]\n"
              "\n"
              "Rebuilds the missing and damaged fragments of the series whose first fragment\n"
              "is FIRST (big.001) from its PAR2 recovery files (big.par2 and its volumes\n"
              "big.vol*.par2, written by split --recovery or by par2 create). Checks the check\n"
              "digits of a series that has them, then every fragment against the recovery\n"
              "files; writes each rebuilt fragment beside its name and puts it in place once\n"
              "it is whole, and names the fragments rebuilt and those that could not be.\n"
              "Exit status 0 when the series is whole afterwards, 1 when it is not.\n"
              "\n"
              "  --par2 FILE             Uses the recovery file FILE and the volumes beside it\n"
              "                          that share its name.\n"
              "  -p PASSPHRASE           Opens an encrypted series to check its check digits.\n"
              "  --passphrase-file FILE  Opens it with the first line of FILE.\n"
              "  --unknown-as raw|old    Reads a fragment that may be raw data or the older\n"
              "                          format as raw (raw) or as the older format (old).\n"
              "  -q                      Shows no progress line.\n"
              "  -h, --help              Shows this help.\n"
              "\n",
              kPassphrases});
  return text;
}

std::string_view HelpText(std::string_view command) {
  if (command == "repair")
    return RepairHelp();
  if (command == "verify")
    return VerifyHelp();
  if (command == "split")
    return SplitHelp();
  if (command == "assemble")
    return AssembleHelp();
  if (command == "info")
    return InfoHelp();
  return UsageText();
}

std::string VersionText() {
  // How recovery files are computed on this computer: what a speed depends on.
  std::string paths;
  for (const recovery::MultiplyPath path : recovery::AvailablePaths())
    paths += std::string(paths.empty() ? "" : ", ") + recovery::PathName(path);
  const int threads = recovery::DefaultLaneCount();
  return std::string("vtq (Vantrelloquin) ") + VTQ_VERSION_TEXT +
         "\nrecovery files: " + recovery::PathName(recovery::FastestPath()) + " multiply (of " +
         paths + "), " + recovery::Md5PathName(recovery::FastestMd5Path()) + " MD5, " +
         std::to_string(threads) + (threads == 1 ? " thread\n" : " threads\n");
}

}  // namespace vtq::cli
