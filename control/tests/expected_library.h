#pragma once
// The library's automation interface as containers must find it: every
// interface's members in order with their help texts. The type library
// tests compare the built library with it; the texts test looks for every
// text in the built file.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "control/interfaces.h"

namespace vtq::control::test {

struct ExpectedMember {
  std::string name;
  INVOKEKIND kind;
  std::string help;
};

struct ExpectedInterface {
  const IID* iid;
  std::vector<ExpectedMember> members;
};

inline const std::vector<ExpectedInterface>& ExpectedInterfaces() {
  constexpr INVOKEKIND kGet = INVOKE_PROPERTYGET;
  constexpr INVOKEKIND kLet = INVOKE_PROPERTYPUT;
  constexpr INVOKEKIND kCall = INVOKE_FUNC;
  const std::string folder = "Returns / sets the destination folder of the assembled file";
  const std::string unknowns =
      "The fileformat to treat unknown fragments as. aftRaw is recommended";
  const std::string fragments = "Returns or sets the destination folder of the fragments";
  const std::string format =
      "Returns / sets the fragment fileformat to be used. Recommended is aftQuorvelle";
  const std::string size = "Returns / sets the fragment size to use";
  const std::string atStart =
      "Returns / sets the fragment size to use for the first fragment in the series. By "
      "default, FragmentSize will be used";
  const std::string different =
      "Boolean is TRUE when an alternative fragment size has been specified for the first "
      "fragment in the series";
  const std::string first =
      "Returns / sets the first fragment of the series to verify, repair or write recovery files "
      "for";
  const std::string percent =
      "Returns / sets the share of recovery data WriteRecoveryFiles writes, as a percentage of "
      "the series: more than 0, at most 100 (10 by default)";
  static const std::vector<ExpectedInterface> interfaces = {
      {&IID__ActiveAssembler,
       {{"FilesToAssemble", kGet,
         "Returns a reference to a FileList object. Holds a list of the first fragment in every "
         "series to assemble"},
        {"DestinationFolder", kGet, folder},
        {"DestinationFolder", kLet, folder},
        {"FormatCouldBe", kGet,
         "Returns TRUE if it is possible that the fragment specified is in the format specified"},
        {"FileFormat", kGet,
         "Returns the fileformat of the fragments specified - must be in FilesToAssemble "
         "collection"},
        {"FormatForUnknowns", kLet, unknowns},
        {"FormatForUnknowns", kGet, unknowns},
        {"FragmentCount", kGet, "Returns the number of fragments in the series specified"},
        {"AssembledFilename", kGet,
         "Returns the filename when assembled of the fragment specified by filename in the "
         "FilesToAssemble collection"},
        {"Assemble", kCall, "Begins the assemble process"}}},
      {&IID__ActiveSplitter,
       {{"FilesToSplit", kGet,
         "Returns a reference to a FileList object containing the files to split"},
        {"DestinationFolder", kGet, fragments},
        {"DestinationFolder", kLet, fragments},
        {"FragsNeeded", kGet,
         "Returns fragments needed to split the specified file in the FilesToSplit collection "
         "according to the current settings"},
        {"FileFormat", kGet, format},
        {"FileFormat", kLet, format},
        {"FragmentSize", kGet, size},
        {"FragmentSize", kLet, size},
        {"FragmentSizeAtStart", kGet, atStart},
        {"FragmentSizeAtStart", kLet, atStart},
        {"DifferentSizeAtStart", kGet, different},
        {"DifferentSizeAtStart", kLet, different},
        {"Split", kCall, "Begin the split process"},
        {"EnoughDiskSpace", kGet,
         "TRUE if there is enough disk space for File to fit on Drive. If Drive is removable, "
         "returns if there will be enough space after formatting. Set Freespace to TRUE to "
         "force routine to return if it will fit without formatting."}}},
      {&IID_FileList,
       {{"Clear", kCall, "Clears the filelist collection"},
        {"Add", kCall, "Adds a file to the filelist collection"},
        {"AddFolderContents", kCall,
         "Adds a folder's contents recursively to the filelist collection"},
        {"Count", kCall, "Returns the number of files in the filelist collection"},
        {"Remove", kCall, "Removes a file from the filelist collection"},
        {"Item", kGet, "Returns the full filename of the file index specified in the collection"},
        {"NewEnum", kCall, "Used to provide for each... support"},
        {"SmallestFile", kGet,
         "Returns the index of the smallest file in the filelist collection"}}},
      {&IID__Marrowgate,
       {{"ActiveAssembler", kGet, "Object used to assemble fragments"},
        {"ActiveSplitter", kGet, "Object used to split files into fragments"}}},
      {&IID_Globals,
       {{"DiskRemovable", kCall, "Returns TRUE if the specified drive is removable"},
        {"MaxFragSizeSupported", kCall, "Returns the maximum allowable fragment size"},
        {"MinFragSizeSupported", kCall, "Returns the minimum allowable fragment size"}}},
      {&DIID___ActiveAssembler,
       {{"AssembleStart", kCall, "Occurs at start of assemble process to initialize progress bars"},
        {"AssembleInterval", kCall, "Occurs at regular intervals to support progress bars"},
        {"RequireNextDisk", kCall,
         "Occurs when another disk is required by VazeVezazu. Set Cancel to TRUE to abort"}}},
      {&DIID___ActiveSplitter,
       {{"SplitStart", kCall, "Event occurs at the start of splitting to initialize progress bars"},
        {"SplitInterval", kCall,
         "Event occurs at regular intervals throughout splitting - useful for progress bars"},
        {"RequireNextDisk", kCall,
         "Event occurs when another disk is required by VazeVezazu. DiskNumber is the disk "
         "required. Set Cancel to TRUE to abort the split process"},
        {"NotEnoughDiskSpace", kCall,
         "Event occurs when there is not enough disk space to save a fragment. Set cancel to "
         "FALSE to attempt a retry"}}},
      {&DIID___Marrowgate,
       {{"Start", kCall,
         "Occurs when a split / assemble operation has just been started to initialize optional "
         "progress bars"},
        {"Interval", kCall,
         "Occurs at regular intervals throughout a split / assemble process to update optional "
         "progress bars"},
        {"RequireNextDisk", kCall, "Occurs when a certain disk is required by VazeVezazu"},
        {"NotEnoughDiskSpace", kCall,
         "Occurs when there is not enough disk space to save a fragment on a removable disk. Set "
         "Cancel to FALSE to attempt a retry"}}},
      {&IID__ActiveRecovery,
       {{"FirstFragment", kGet, first},
        {"FirstFragment", kLet, first},
        {"RecoveryPercent", kGet, percent},
        {"RecoveryPercent", kLet, percent},
        {"WriteRecoveryFiles", kCall,
         "Writes recovery files beside the series; every fragment must be there"},
        {"Verify", kCall,
         "Checks every fragment of the series and what its recovery files can rebuild. Returns "
         "TRUE when the series is sound"},
        {"Repair", kCall,
         "Rebuilds missing and damaged fragments from the series' recovery files, then checks "
         "the series. Returns TRUE when it is sound"},
        {"FragmentCount", kGet,
         "Returns the number of fragments in the series, as the last Verify or Repair found it"},
        {"SoundFragments", kGet,
         "Returns the number of fragments the last Verify or Repair found sound"},
        {"MissingFragments", kGet,
         "Returns the number of fragments the last Verify or Repair found missing"},
        {"DamagedFragments", kGet,
         "Returns the number of fragments the last Verify or Repair found damaged"},
        {"Repairable", kGet,
         "Returns TRUE when the last Verify found the recovery files able to rebuild every "
         "fragment at fault"},
        {"RebuildableFragments", kGet,
         "Returns how many more lost fragments the recovery files can rebuild, after the last "
         "WriteRecoveryFiles, Verify or Repair"},
        {"Verdict", kGet, "Returns the verdict of the last Verify or Repair in words"}}},
      {&DIID___ActiveRecovery,
       {{"Progress", kCall,
         "Occurs at regular intervals throughout a step of WriteRecoveryFiles or Repair "
         "(writing, checking, rebuilding) - useful for progress bars"},
        {"StepEnded", kCall, "Occurs when a step of WriteRecoveryFiles or Repair ends"}}},
  };
  return interfaces;
}

}  // namespace vtq::control::test
