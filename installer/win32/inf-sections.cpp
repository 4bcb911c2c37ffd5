// Section runs with a wrapped default queue callback, and the check that a
// section has everything it names before it runs.
#include "installer/win32/inf-sections.h"

#include "installer/win32/setup-folders.h"

#include <utility>

namespace installer {

namespace {

struct QueueContext {
  PVOID defaultContext = nullptr;
  const std::vector<SetupString> *kept = nullptr;
  SetupString runningProgram;
  bool failed = false;
  std::vector<SetupString> remaining;
};

bool fileExists(const char *path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool fileExists(const char *folder, const char *name) {
  if (!folder || !name)
    return false;
  SetupString path(folder);
  if (!path.empty() && path.c_str()[path.length() - 1] != '\\')
    path += "\\";
  path += name;
  return fileExists(path.c_str());
}

bool samePath(const char *path, const SetupString &other) {
  return lstrcmpiA(path, other.c_str()) == 0;
}

bool isKept(const char *path, const QueueContext &queue) {
  if (!queue.kept)
    return false;
  for (const SetupString &kept : *queue.kept)
    if (samePath(path, kept))
      return true;
  return false;
}

// A file that cannot be deleted stays and is named in the result, except
// the running uninstaller itself, which is deleted when the system starts
// next; a file that is already gone needs no deletion.
UINT deleteFailed(QueueContext &queue, const FILEPATHS_A &paths) {
  if (!fileExists(paths.Target))
    return FILEOP_SKIP;
  if (samePath(paths.Target, queue.runningProgram) &&
      MoveFileExA(paths.Target, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
    return FILEOP_SKIP;
  queue.failed = true;
  queue.remaining.emplace_back(paths.Target);
  return FILEOP_SKIP;
}

// The default callback shows SetupAPI's own progress, but some answers of
// it are replaced: Wine's default callback answers a request for a missing
// source file with "do it" and is asked again for ever, so a source that
// is not there is skipped and counted as a failure; copy and delete errors
// are skipped and counted too, so that they reach the caller's result.
UINT CALLBACK wrappedQueueCallback(PVOID context, UINT notification, UINT_PTR param1,
                                   UINT_PTR param2) {
  auto *queue = static_cast<QueueContext *>(context);
  try {
    switch (notification) {
    case SPFILENOTIFY_NEEDMEDIA: {
      const auto *media = reinterpret_cast<const SOURCE_MEDIA_A *>(param1);
      if (!fileExists(media->SourcePath, media->SourceFile)) {
        queue->failed = true;
        return FILEOP_SKIP;
      }
      break;
    }
    case SPFILENOTIFY_STARTDELETE:
      if (isKept(reinterpret_cast<const FILEPATHS_A *>(param1)->Target, *queue))
        return FILEOP_SKIP;
      break;
    case SPFILENOTIFY_DELETEERROR:
      return deleteFailed(*queue, *reinterpret_cast<const FILEPATHS_A *>(param1));
    case SPFILENOTIFY_COPYERROR:
    case SPFILENOTIFY_RENAMEERROR:
      queue->failed = true;
      return FILEOP_SKIP;
    default:
      break;
    }
    return SetupDefaultQueueCallbackA(queue->defaultContext, notification, param1, param2);
  } catch (...) {
    queue->failed = true;
    return FILEOP_ABORT;
  }
}

bool sectionExists(HINF inf, const char *section) { return SetupGetLineCountA(inf, section) >= 0; }

SetupString stringField(INFCONTEXT &line, DWORD field) {
  SetupString text = SetupString::withRoom(MAX_INF_STRING_LENGTH + 1);
  if (!SetupGetStringFieldA(&line, field, text.data(), MAX_INF_STRING_LENGTH + 1, nullptr))
    return SetupString();
  text.syncLength();
  return SetupString(text.c_str());
}

// A copied file has its line in [SourceDisksFiles] and that line's disk
// its line in [SourceDisksNames].
bool hasSourceDisk(HINF inf, const SetupString &file) {
  UINT disk = 0;
  DWORD size = 0;
  return SetupGetSourceFileLocationA(inf, nullptr, file.c_str(), &disk, nullptr, 0, &size) &&
         SetupGetSourceInfoA(inf, disk, SRCINFO_DESCRIPTION, nullptr, 0, &size);
}

} // namespace

InfFile::InfFile(const SetupString &path)
    : handle_(SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, nullptr)) {}

InfFile::~InfFile() {
  if (isOpen())
    SetupCloseInfFile(handle_);
}

bool InfFile::setPluginFolder(const SetupString &folder) {
  return SetupSetDirectoryIdA(handle_, pluginFolderId, folder.c_str()) != FALSE;
}

bool InfFile::listIsComplete(const char *list, bool copied) const {
  INFCONTEXT line;
  if (!sectionExists(handle_, list))
    return false;
  if (!SetupFindFirstLineA(handle_, "DestinationDirs", list, &line) &&
      !SetupFindFirstLineA(handle_, "DestinationDirs", "DefaultDestDir", &line))
    return false;
  if (!copied)
    return true;
  for (BOOL found = SetupFindFirstLineA(handle_, list, nullptr, &line); found;
       found = SetupFindNextLine(&line, &line)) {
    // "target[,source]": the source name is the target's when not given.
    SetupString source = stringField(line, 2);
    if (!hasSourceDisk(handle_, source.empty() ? stringField(line, 1) : source))
      return false;
  }
  return true;
}

bool InfFile::isComplete(const char *section) const {
  if (!sectionExists(handle_, section))
    return false;
  struct Directive {
    const char *name;
    bool files;  // names file lists, which need a destination
    bool copied; // and their files a source disk
  };
  static const Directive directives[] = {{"CopyFiles", true, true},
                                         {"DelFiles", true, false},
                                         {"AddReg", false, false},
                                         {"DelReg", false, false}};
  for (const Directive &directive : directives) {
    INFCONTEXT line;
    for (BOOL found = SetupFindFirstLineA(handle_, section, directive.name, &line); found;
         found = SetupFindNextMatchLineA(&line, directive.name, &line)) {
      for (DWORD field = 1, count = SetupGetFieldCount(&line); field <= count; ++field) {
        SetupString list = stringField(line, field);
        if (list.empty() || list.c_str()[0] == '@') // "@file" copies one file, no list
          continue;
        bool complete = directive.files ? listIsComplete(list.c_str(), directive.copied)
                                        : sectionExists(handle_, list.c_str());
        if (!complete)
          return false;
      }
    }
  }
  return true;
}

SectionRun InfFile::run(const char *section, UINT parts, const std::vector<SetupString> &kept) {
  if (!isComplete(section))
    return SectionRun();
  QueueContext queue;
  queue.kept = &kept;
  queue.runningProgram = programPath();
  queue.defaultContext = SetupInitDefaultQueueCallback(nullptr);
  BOOL done = SetupInstallFromInfSectionA(nullptr, handle_, section, parts, HKEY_LOCAL_MACHINE,
                                          nullptr, SP_COPY_WARNIFSKIP, wrappedQueueCallback, &queue,
                                          nullptr, nullptr);
  if (queue.defaultContext)
    SetupTermDefaultQueueCallback(queue.defaultContext);
  SectionRun result;
  result.succeeded = done && !queue.failed;
  result.remaining = std::move(queue.remaining);
  return result;
}

SectionRun InfFile::runSection(const char *section) {
  return run(section, SPINST_REGISTRY | SPINST_FILES, {});
}

SectionRun InfFile::runFileEntries(const char *section, const std::vector<SetupString> &kept) {
  return run(section, SPINST_FILES, kept);
}

} // namespace installer
