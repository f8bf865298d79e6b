#include "Text/CoreStringTable.h"

#include "Text/CoreStringIds.h"
#include "Text/GString.h"
#include "win/ModuleStringTable.h"

#include <mutex>

namespace {

constexpr StringResource Strings[] = {
    {IDS_INDEX_OUT_OF_RANGE, "GCollection : index (%li) is out of range (%li-%li)"},
    {IDS_DUPLICATED_TYPES, "Class with name '%s' already exists"},
    {IDS_PSTREAM_INDEX, "Can't find object with index=%lu. Class= %s. Position=%li"},
    {IDS_PSTREAM_MARKER, "Invalid pointer stream marker = %i . Position=%li"},
    {IDS_PSTREAM_PREFIX, "Invalid prefix in stream. Position=%li"},
    {IDS_UNKNOWN_STREAMABLE, "Unknown streamable class '%s'"},
    {IDS_PSTREAM_SUFFIX, "Invalid suffix in stream. Position=%li. Class=%s"},
    {IDS_ABSTRACT_CLASS, "Abstract class = %s"},
    {IDS_OLD_PREFIX, "Unsupported old prefix in stream"},
    {IDS_OLD_VERSION, "Unsupported old version '%u' of class '%s'"},
    {IDS_NOT_BASE_CLASS, "Can't read class '%s' as '%s'. Position=%li"},
    {IDS_GFILE_INVALID_INDEX, "GFile : invalid index"},
    {IDS_NEW_VERSION, "Unsupported new version '%u' of class '%s'"},
    {IDS_WRITE_TO_READ_ONLY, "Attempt writing to read-only file/buffer"},
    {IDS_READ_FROM_WRITE_ONLY, "Attempt reading of write-only file/buffer"},
    {IDS_FILE_IS_ABSENT, "File '%s' is absent"},
    {IDS_INVALID_FILE_FORMAT, "Invalid file format"},
    {IDS_ZLIB_ERRORS, "ZLib: errno error|ZLib:stream error|ZLib: data error|ZLib: memory error|ZLib: buffer error|"
                      "ZLib: version error|"},
};

const ModuleStringTable CoreStrings(Strings);

} // namespace

HMODULE GetCoreModule() {
    return CoreStrings.module();
}

void AddCoreStringLoader() {
    static std::once_flag added;
    std::call_once(added, [] { GString::AddLoadStringFunc(LoadModuleString, GetCoreModule()); });
}
