#include "capped_receive.h"

#include <dcmtk/dcmdata/dcostrma.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ordevo::node {

namespace {

// Writes to a file until the bound, then counts and drops.
class CappedFileConsumer : public DcmConsumer {
public:
    CappedFileConsumer(int fd, long long limit) : fd_(fd), limit_(limit) {}
    // Always good: a failed write is told after the data set is read to its end, so that
    // the caller still gets its answer.
    OFBool good() const override { return OFTrue; }
    OFCondition status() const override { return EC_Normal; }
    OFBool isFlushed() const override { return OFTrue; }
    offile_off_t avail() const override { return 1 << 20; }
    offile_off_t write(const void* buffer, offile_off_t length) override {
        const auto size = static_cast<long long>(length);
        if (!tooLarge_ && received_ + size > limit_) tooLarge_ = true;
        received_ += size;
        if (tooLarge_ || !error_.empty()) return length;
        const char* data = static_cast<const char*>(buffer);
        long long done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd_, data + done, static_cast<std::size_t>(size - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error_ = std::strerror(n < 0 ? errno : ENOSPC);
                break;
            }
            done += n;
        }
        return length;
    }
    void flush() override {}
    bool TooLarge() const { return tooLarge_; }
    const std::string& Error() const { return error_; }

private:
    int fd_;
    long long limit_;
    long long received_ = 0;
    bool tooLarge_ = false;
    std::string error_;
};

class CappedStream : public DcmOutputStream {
public:
    explicit CappedStream(CappedFileConsumer* consumer) : DcmOutputStream(consumer) {}
};

// A new empty file "<folder>/receiving-XXXXXX.part" (removed at the next start if left).
int NewPart(const std::string& folder, std::string* path) {
    std::string name = folder + "/receiving-XXXXXX.part";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    const int fd = ::mkostemps(buffer.data(), 5, O_CLOEXEC);
    if (fd >= 0) *path = buffer.data();
    return fd;
}

}  // namespace

std::string InflateBounded(const std::string& from, const std::string& to, long long limit,
                           bool* tooLarge) {
    *tooLarge = false;
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) return from + ": " + std::strerror(errno);
    FILE* out = std::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return to + ": " + std::strerror(errno);
    }
    z_stream z{};
    // A DICOM deflated data set is a raw deflate stream (no zlib header).
    inflateInit2(&z, -MAX_WBITS);
    std::vector<unsigned char> input(1 << 16), output(1 << 16);
    long long written = 0;
    int result = Z_OK;
    std::string why;
    while (why.empty() && result != Z_STREAM_END) {
        z.avail_in = static_cast<uInt>(std::fread(input.data(), 1, input.size(), in));
        z.next_in = input.data();
        if (z.avail_in == 0) break;  // the stream ends without its end: damaged
        do {
            z.avail_out = static_cast<uInt>(output.size());
            z.next_out = output.data();
            result = inflate(&z, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                why = "deflate のデータが壊れています";
                break;
            }
            const std::size_t produced = output.size() - z.avail_out;
            written += static_cast<long long>(produced);
            if (written > limit) {
                *tooLarge = true;
                why = "too large";
                break;
            }
            if (std::fwrite(output.data(), 1, produced, out) != produced) {
                why = to + ": " + std::strerror(errno);
                break;
            }
        } while (z.avail_out == 0 && result != Z_STREAM_END);
    }
    if (why.empty() && result != Z_STREAM_END) why = "deflate のデータが途中で終わっています";
    inflateEnd(&z);
    std::fclose(in);
    if (std::fclose(out) != 0 && why.empty()) why = to + ": " + std::strerror(errno);
    if (!why.empty()) std::remove(to.c_str());
    return *tooLarge ? "" : why;
}

CappedReceipt ReceiveCapped(T_ASC_Association* association, T_ASC_PresentationContextID context,
                            const std::string& folder, long long limit, int timeoutSeconds) {
    CappedReceipt receipt;
    T_ASC_PresentationContext pc;
    ASC_findAcceptedPresentationContext(association->params, context, &pc);
    const E_TransferSyntax syntax = DcmXfer(pc.acceptedTransferSyntax).getXfer();
    std::string raw;
    const int fd = NewPart(folder, &raw);
    if (fd < 0) {
        receipt.Error = folder + ": " + std::strerror(errno);
        // Read and dropped, so that the caller gets its answer.
        DIC_UL bytes = 0, pdvs = 0;
        receipt.Status =
            DIMSE_ignoreDataSet(association, DIMSE_NONBLOCKING, timeoutSeconds, &bytes, &pdvs);
        return receipt;
    }
    CappedFileConsumer consumer(fd, limit);
    CappedStream stream(&consumer);
    T_ASC_PresentationContextID received = context;
    receipt.Status = DIMSE_receiveDataSetInFile(association, DIMSE_NONBLOCKING, timeoutSeconds,
                                                &received, &stream, nullptr, nullptr);
    const bool synced = ::fsync(fd) == 0 || consumer.TooLarge();
    ::close(fd);
    receipt.TooLarge = consumer.TooLarge();
    receipt.Error = consumer.Error();
    if (receipt.Error.empty() && !synced) receipt.Error = std::strerror(errno);
    if (receipt.Status.bad() || receipt.TooLarge || !receipt.Error.empty()) {
        std::remove(raw.c_str());
        return receipt;
    }
    if (syntax != EXS_DeflatedLittleEndianExplicit) {
        receipt.Path = raw;
        receipt.Syntax = syntax;
        return receipt;
    }
    std::string inflated;
    const int inflatedFd = NewPart(folder, &inflated);
    if (inflatedFd < 0) {
        receipt.Error = folder + ": " + std::strerror(errno);
        std::remove(raw.c_str());
        return receipt;
    }
    ::close(inflatedFd);
    receipt.Error = InflateBounded(raw, inflated, limit, &receipt.TooLarge);
    std::remove(raw.c_str());
    if (receipt.TooLarge || !receipt.Error.empty()) {
        std::remove(inflated.c_str());
        return receipt;
    }
    receipt.Path = inflated;
    receipt.Syntax = EXS_LittleEndianExplicit;
    return receipt;
}

}  // namespace ordevo::node
