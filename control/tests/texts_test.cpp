// Every help text and message of the control library is in the built
// Marrowgate32.ocx exactly as containers and users see it: the type
// library keeps its texts in the ANSI code page, the engine's messages are
// ANSI too; the version information is UTF-16LE.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string OcxBytes() {
  std::ifstream file(VTQ_BINARY_DIR "/bin/Marrowgate32.ocx", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Utf16(const std::string& text) {
  std::string wide;
  for (char c : text) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

TEST(MarrowgateTexts, EveryHelpTextAndMessageIsInTheLibraryAsWritten) {
  const std::string ocx = OcxBytes();
  ASSERT_GT(ocx.size(), 10000u);
  const std::vector<std::string> texts = {
      "Quorvelle ActiveVantrelloquin Control",
      "Object used to assemble fragments",
      "Object used to split files into fragments",
      "Occurs when a split / assemble operation has just been started to initialize optional "
      "progress bars",
      "Occurs at regular intervals throughout a split / assemble process to update optional "
      "progress bars",
      "Occurs when a certain disk is required by VazeVezazu",
      "Occurs when there is not enough disk space to save a fragment on a removable disk. Set "
      "Cancel to FALSE to attempt a retry",
      "Returns a reference to a FileList object. Holds a list of the first fragment in every "
      "series to assemble",
      "Returns / sets the destination folder of the assembled file",
      "Returns TRUE if it is possible that the fragment specified is in the format specified",
      "Returns the fileformat of the fragments specified - must be in FilesToAssemble collection",
      "The fileformat to treat unknown fragments as. aftRaw is recommended",
      "Returns the number of fragments in the series specified",
      "Returns the filename when assembled of the fragment specified by filename in the "
      "FilesToAssemble collection",
      "Begins the assemble process",
      "Occurs at start of assemble process to initialize progress bars",
      "Occurs at regular intervals to support progress bars",
      "Occurs when another disk is required by VazeVezazu. Set Cancel to TRUE to abort",
      "Returns a reference to a FileList object containing the files to split",
      "Returns or sets the destination folder of the fragments",
      "Returns fragments needed to split the specified file in the FilesToSplit collection "
      "according to the current settings",
      "Returns / sets the fragment fileformat to be used. Recommended is aftQuorvelle",
      "Returns / sets the fragment size to use",
      "Returns / sets the fragment size to use for the first fragment in the series. By default, "
      "FragmentSize will be used",
      "Boolean is TRUE when an alternative fragment size has been specified for the first "
      "fragment in the series",
      "Begin the split process",
      "TRUE if there is enough disk space for File to fit on Drive. If Drive is removable, "
      "returns if there will be enough space after formatting. Set Freespace to TRUE to force "
      "routine to return if it will fit without formatting.",
      "Event occurs at the start of splitting to initialize progress bars",
      "Event occurs at regular intervals throughout splitting - useful for progress bars",
      "Event occurs when another disk is required by VazeVezazu. DiskNumber is the disk "
      "required. Set Cancel to TRUE to abort the split process",
      "Event occurs when there is not enough disk space to save a fragment. Set cancel to FALSE "
      "to attempt a retry",
      "Clears the filelist collection",
      "Adds a file to the filelist collection",
      "Adds a folder's contents recursively to the filelist collection",
      "Returns the number of files in the filelist collection",
      "Removes a file from the filelist collection",
      "Returns the full filename of the file index specified in the collection",
      "Used to provide for each... support",
      "Returns the index of the smallest file in the filelist collection",
      "Returns TRUE if the specified drive is removable",
      "Returns the maximum allowable fragment size",
      "Returns the minimum allowable fragment size",
      // The control build's own messages.
      "Feature unsupported",
      "Encryption / decryption unsupported in this version of ActiveVantrelloquin",
      "Decryption failed",
      "Feature unsupported in ActiveVantrelloquin",
      "Pellworth Type Library",
  };
  for (const std::string& text : texts)
    EXPECT_NE(ocx.find(text), std::string::npos) << text;
  // The version information tells installers the library registers itself.
  EXPECT_NE(ocx.find(Utf16("OLESelfRegister")), std::string::npos);
  EXPECT_NE(ocx.find(Utf16("Marrowgate32.ocx")), std::string::npos);
}

TEST(MarrowgateTexts, NothingOfTheProgramsProtectionIsInTheLibrary) {
  const std::string ocx = OcxBytes();
  for (const std::string absent : {"kavrolib", "qweave", "getcheck"}) {
    EXPECT_EQ(ocx.find(absent), std::string::npos) << absent;
    EXPECT_EQ(ocx.find(Utf16(absent)), std::string::npos) << absent;
  }
}

}  // namespace
