// libFuzzer target for the models that arrive on the clipboard or in a drop from another process: whatever the
// bytes, the records give models that compose or none, with no crash, leak, hang or allocation beyond the limits.
// An input that holds no records is taken as one model's object stream inside a record.

#include "Clipboard/GModelRecords.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

struct Destroy {
    void operator()(GCompoundModel* model) const { model->destroyThis(); }
};

// The bytes as the object stream of one record of an object.
std::vector<BYTE> oneRecord(const std::uint8_t* data, std::size_t size) {
    std::vector<BYTE> bytes;
    GModelRecords::PutDWord(bytes, 1);
    GModelRecords::PutDWord(bytes, GCompoundModel::TypeObject);
    GModelRecords::PutDWord(bytes, static_cast<DWORD>(4 + size));
    bytes.insert(bytes.end(), data, data + size);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AddCoreStringLoader();
    AddUIStringLoader();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<BYTE> bytes(data, data + size);
    if (GModelRecords(bytes).size() == 0)
        bytes = oneRecord(data, size);
    GModelRecords records(bytes);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::unique_ptr<GCompoundModel, Destroy> model(records.read(i));
        if (model && static_cast<unsigned long long>(model->get_width()) * model->get_height() <= (1U << 20))
            model->getCombinedImage();
    }
    return 0;
}
