#pragma once
// GBufferedIO: the plain buffered device, with a buffer of its own (4096 bytes unless told otherwise).

#include "IO/GAbstractBufferedIO.h"

#include <memory>

class GBufferedIO : public GAbstractBufferedIO {
public:
    // A size of 0 or less becomes 4.
    explicit GBufferedIO(long size = 4096);
    GBufferedIO(GIO* io, long size = 4096);
    ~GBufferedIO() override;

    char* getBuffer() const { return m_buffer.get(); }
    long getBufferSize() const { return m_size; }
    void* cast_to_(const std::type_info& type) const override;

protected:
    void startWrite() override;
    void stopWrite() override;
    // Writes the buffered bytes to the device and makes the whole buffer free again.
    void writeBuffer() override;
    void startRead() override;
    // Gives back the unread read-ahead by seeking the device back, so its position is the logical one.
    void stopRead() override;
    // Fills the buffer from the device.
    void readBuffer() override;

private:
    long m_size;
    std::unique_ptr<char[]> m_buffer;
};
