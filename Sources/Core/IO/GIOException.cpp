#include "IO/GIOException.h"

#include "Text/CoreStringIds.h"

GWriteToReadOnlyException::GWriteToReadOnlyException() : GIOException(IDS_WRITE_TO_READ_ONLY) {}

GReadFromWriteOnlyException::GReadFromWriteOnlyException() : GIOException(IDS_READ_FROM_WRITE_ONLY) {}

// zlib's error codes run from -1 (Z_ERRNO) down to -6 (Z_VERSION_ERROR), one field each; other codes have no
// text of their own and leave the message empty.
GCompressionException::GCompressionException(int zlibCode) : m_code(zlibCode) {
    if (zlibCode < 0 && zlibCode >= -6) {
        const GString text = MessageText(IDS_ZLIB_ERRORS).segmentExcluding('|', static_cast<unsigned>(-zlibCode - 1));
        message("%s", static_cast<const char*>(text));
    }
}
