#pragma once
// GAbstractBufferedIO: a read/write buffer in front of another device, which it owns. It is either reading or
// writing: a write while reading gives back the unread read-ahead first, a read while writing writes out the
// buffer first, and a seek flushes, so positions are those of the device below. Subclasses supply the buffer
// through the start/stop/readBuffer/writeBuffer hooks; a subclass that holds buffered data flushes in its own
// destructor.

#include "IO/GIO.h"
#include "win/Win32Types.h"

class GAbstractBufferedIO : public GIO {
public:
    enum SBState { Idle = 0, Reading = 1, Writing = 2 };

    GAbstractBufferedIO() = default;
    explicit GAbstractBufferedIO(GIO* io) { setIO(io); }
    // Flushes (errors are dropped here: flush before destroying to see them), then destroys the device.
    ~GAbstractBufferedIO() override;

    // Flushes, destroys the previous device and takes ownership of `io`.
    virtual void setIO(GIO* io);
    GIO* getIO() const { return m_io; }
    SBState getState() const { return m_state; }

    // The device's mode; read-only without a device.
    IOOpenMode open_mode() const override;
    long gseek(long offset, IOSeekDirection direction) override;
    std::size_t gwrite(const void* data, std::size_t count) override;
    std::size_t gread(void* buffer, std::size_t count) override;
    void flush() override;
    void* cast_to_(const std::type_info& type) const override;

    // 1, 2 or 4 bytes, least significant first.
    void writeByte(BYTE b);
    void writeWord(WORD w);
    void writeDWord(DWORD d);
    // The next byte as 0 to 255, or -1 at the end of the data.
    int readByte();
    // The end of the data is not detected here: callers check the length first.
    WORD readWord();
    DWORD readDWord();

protected:
    virtual void startWrite();
    virtual void stopWrite();
    virtual void writeBuffer() = 0;
    virtual void startRead();
    virtual void stopRead();
    virtual void readBuffer() = 0;

    void setState(SBState state);
    // flush() for destructors: an error is dropped (callers flush first to see it).
    void flushQuietly() noexcept;
    // The slow paths of the byte operations: -1 when there is no room or no data left.
    int writeAdditionalByte(BYTE b);
    int readAdditionalByte();

    char* getWBegin() const { return m_wBegin; }
    char* getWCurrent() const { return m_wCurrent; }
    char* getRCurrent() const { return m_rCurrent; }
    char* getREnd() const { return m_rEnd; }
    void setWBegin(char* p) { m_wBegin = p; }
    void setWCurrent(char* p) { m_wCurrent = p; }
    void setWEnd(char* p) { m_wEnd = p; }
    void setWPointers(char* begin, char* current, char* end);
    void setRBegin(char* p) { m_rBegin = p; }
    void setRCurrent(char* p) { m_rCurrent = p; }
    void setREnd(char* p) { m_rEnd = p; }
    void setRPointers(char* begin, char* current, char* end);

private:
    template <class T>
    void writeValue(T value);
    template <class T>
    T readValue();

    GIO* m_io = nullptr; // owned
    SBState m_state = Idle;
    char* m_wBegin = nullptr;
    char* m_wCurrent = nullptr;
    char* m_wEnd = nullptr;
    char* m_rBegin = nullptr;
    char* m_rCurrent = nullptr;
    char* m_rEnd = nullptr;
};
