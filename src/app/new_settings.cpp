#include "app/new_settings.h"

#include "app/app_folder.h"
#include "outside/file_ops.h"

namespace tessaro {

std::string NewSettingsText(const NewSettings& settings) {
  const std::string format = settings.rcmFormat ? "YES" : "NO";
  return "; Tessaro's settings. Lines starting with ; are comments.\n"
         "[Settings]\n"
         "; YES: RCM programs, made from Template.RCM beside this file; NO: ACC programs\n"
         "RCM=" +
         format +
         "\n"
         "; The folder of the CNC machine's G-code files\n"
         "SourcePath=" +
         settings.sourceFolder +
         "\n"
         "; The folder of the boring machine's programs\n"
         "DestinationPath=" +
         settings.destinationFolder +
         "\n"
         "; ACC only: the order in which the faces are written, up to four different digits 1 to "
         "4\n"
         "FacePriority=3412\n"
         "; 0 drills and dowels every hole; a digit 1 to 9 only holes with that E word\n"
         "DrillExclusion=0\n"
         "DowellExclusion=0\n"
         "; 1 hides the programs of faces without holes, or repeating their opposite face\n"
         "NoEmpties=0\n"
         "NoDuplicates=0\n"
         "; 1: translate new and changed G-code files by themselves, every ScanTime seconds\n"
         "AutoScan=0\n"
         "; 1: also delete programs whose G-code file is gone\n"
         "AutoDelete=0\n"
         "ScanTime=5\n"
         "[HorizontalRename]\n"
         "; The program names of the four faces: * keeps the G-code file's character\n"
         "Mask1=****1***\n"
         "Mask2=****2***\n"
         "Mask3=****3***\n"
         "Mask4=****4***\n";
}

Status WriteNewSettings(const std::string& appFolder, const NewSettings& settings, bool overwrite) {
  const std::string path = appFolder + kSettingsFileName;
  if (!overwrite && !IsFirstStart(appFolder)) {  // an empty file holds nothing to keep
    return Status::Failed(path + " exists already: it is kept (--force replaces it)");
  }
  return ReplaceFileContents(path, NewSettingsText(settings));
}

}  // namespace tessaro
