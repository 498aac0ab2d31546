#include "cli/commands.h"

namespace vtq::cli {

std::string_view UsageText() {
  return "usage: vtq split SOURCE -d DIR [-s BYTES] [--first-size BYTES] [-f own|raw|old] [-c]\n"
         "                 [-p PASSPHRASE | --passphrase-file FILE | -P] [--regen N] [--bat]\n"
         "                 [--yes|--no]\n"
         "       vtq assemble FIRST -d DIR [-p PASSPHRASE | --passphrase-file FILE]\n"
         "                 [--unknown-as raw|old] [--yes|--no]\n"
         "       vtq info FRAGMENT [--unknown-as raw|old]\n"
         "\n"
         "Passphrases: -p PASSPHRASE is visible to other users of the computer, who can\n"
         "read it in the process list; prefer --passphrase-file FILE (its first line),\n"
         "-P or --ask-passphrase (split: typed twice at the terminal, not shown), or the\n"
         "environment variable VTQ_PASSPHRASE, used when no option gives one. assemble\n"
         "asks at a terminal for the passphrase of an encrypted series it was not given.\n"
         "Check digits (-c) and passphrases need the own format (-f own): a raw or old\n"
         "series has no header to record them.\n";
}

}  // namespace vtq::cli
