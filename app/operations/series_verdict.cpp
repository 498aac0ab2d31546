#include "app/operations/series_verdict.h"

#include <set>
#include <vector>

#include "engine/path.h"

namespace vtq {
namespace {

std::string Plural(uint64_t count, const char* word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

// "fragment 3 (data.003)" for each, joined.
std::string FragmentsListed(const std::vector<const FragmentFinding*>& findings) {
  std::string text;
  for (const FragmentFinding* finding : findings) {
    text += (text.empty() ? "" : ", ") + std::string("fragment ") +
            std::to_string(finding->number) + " (" + BaseName(finding->name) + ")";
  }
  return text;
}

}  // namespace

VerifyBox VerifyBoxFor(const SeriesVerification& v, std::string_view repairAdvice) {
  const VerifyReport& report = v.report;
  if (!report.readable || report.fragments <= 0) {
    return {"The first fragment could not be read as one of a series; nothing was checked.", false};
  }
  std::vector<const FragmentFinding*> missing;
  std::vector<const FragmentFinding*> damaged;
  std::set<int> seen;
  for (const FragmentFinding& finding : report.findings) {
    if (!seen.insert(finding.number).second)
      continue;
    (finding.fault == FragmentFault::kMissing ? missing : damaged).push_back(&finding);
  }
  std::string checked = "check digits";
  if (!report.checkDigitsChecked)
    checked.clear();
  if (report.digestsChecked)
    checked += std::string(checked.empty() ? "" : " and ") + "SHA-256 digests";
  if (v.recovery.checked)
    checked += std::string(checked.empty() ? "" : " and ") + "recovery files";
  const std::string how = checked.empty() ? "" : " (" + checked + " checked)";
  VerifyBox box;
  box.sound = report.Sound();
  box.missing = static_cast<int>(missing.size());
  box.damaged = static_cast<int>(damaged.size());
  std::string recovery;
  if (!v.recovery.Found()) {
    recovery = "The series has no recovery files.";
  } else if (!v.recovery.refusal.empty()) {
    recovery = "Its recovery files are not used: " + v.recovery.refusal + ".";
  } else if (!v.recovery.setComplete || !v.recovery.checked) {
    recovery = "Its recovery files hold no complete recovery set.";
  } else if (v.recovery.TooFew()) {
    recovery = "Its recovery files hold too few recovery slices to rebuild what is lost.";
  } else if (!v.recovery.faults.fragments.empty()) {
    box.repairable = true;
    box.moreRebuildable = v.recovery.moreFragments;
    recovery = "Its recovery files can rebuild " +
               Plural(v.recovery.faults.fragments.size(), "fragment") +
               " at fault: " + std::string(repairAdvice) + ". They could rebuild " +
               std::to_string(v.recovery.moreFragments) + " more after that.";
  } else {
    box.moreRebuildable = v.recovery.moreFragments;
    recovery = "Its recovery files could rebuild " +
               Plural(v.recovery.moreFragments, "lost fragment") + ".";
  }
  if (box.sound) {
    box.text = "The series is sound: all " + Plural(report.fragments, "fragment") +
               " are there and whole" + how + ".\n\n" + recovery;
    return box;
  }
  box.text = "The series is not sound" + how + ".\n";
  if (report.passphraseRejected)
    box.text += "\nThe passphrase was not accepted; the check digits were not checked.";
  if (!missing.empty())
    box.text += "\nMissing: " + FragmentsListed(missing);
  if (!damaged.empty())
    box.text += "\nDamaged: " + FragmentsListed(damaged);
  const size_t faulty = seen.size();
  box.text += "\nSound: " +
              (faulty == 0 ? std::string("all ") + Plural(report.fragments, "fragment")
                           : Plural(report.fragments - faulty, "fragment")) +
              "\n\n" + recovery;
  return box;
}

}  // namespace vtq
