#pragma once

#include "records/BackgroundWriter.hpp"
#include "records/ByteStreams.hpp"
#include "records/RecordSink.hpp"

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace tessen {

// The report: every record as laid out, followed by CR LF, gathered in a buffer of fixed
// size that goes to the sink each time it is full, and at the close.
//
// The sink is written either in the calling thread or, with Writes::in_background, by a
// BackgroundWriter, which also writes the sections handed to write_section() while the
// caller goes on. The bytes and the writes are the same either way, and so is the first
// fault: a failed write, or a section's RunError, is raised by a later put_record or
// write_section, by settle() or by close().
class ReportFile : public RecordSink {
  public:
    enum class Writes { in_this_thread, in_background };

    explicit ReportFile(ByteSink& sink, Writes writes = Writes::in_this_thread);
    ~ReportFile() override = default;

    void put_record(std::string_view record, bool hold) override;
    void write_section(Section section, std::size_t records) override;
    void hand_over_sections() override;
    // Bytes already laid out as records with their line ends (a chunk of another report
    // file's records). followed: more bytes come after them, so that a whole buffer of
    // them, arriving with this buffer empty, is written from where it lies, as it would
    // be at the next byte.
    void put_bytes(std::string_view bytes, bool followed = false);
    // Waits until every record put so far has reached the sink as it would in one
    // thread; raises the first fault among them. (In the calling thread it has.)
    void settle();
    // Writes out whatever is buffered and waits for it. Raises the first fault.
    void close();

  private:
    static constexpr std::size_t kBufferSize = 1 << 16;
    // As large as the buffer of the writer thread's own report file, so that a full
    // chunk is a full buffer of it.
    static constexpr std::size_t kBackgroundChunkSize = kBufferSize;
    static constexpr std::size_t kBackgroundChunks = 32;
    // Sections and bytes go to the writer thread in batches: each hand-over may wake it,
    // which costs more than a small section. A batch goes when a chunk is full, when it
    // holds kBatchSections sections, or at once for a section of kRecordsWorthAThread
    // records or more.
    static constexpr std::size_t kBatchSections = 16;
    static constexpr std::size_t kRecordsWorthAThread = 200;
    // With this many sections, or records of sections, waiting, the writer thread is
    // behind: a section is then written here, which keeps both threads busy. The
    // distance check of a molecule of 500 atoms (32,000 records) alone is not "behind":
    // the mass blocks that follow it go to the writer thread too, as this thread is busy
    // with the next molecule's distances (measured on decks B and C).
    static constexpr std::size_t kSectionsBehind = 48;
    static constexpr std::size_t kRecordsBehind = 40000;

    ByteSink& sink_;
    std::unique_ptr<char[]> own_buffer_;       // when writing in this thread
    std::unique_ptr<BackgroundWriter> writer_; // when writing in the background
    char* buffer_;
    std::size_t capacity_;
    std::size_t size_ = 0; // bytes buffered
    // In the background: where the bytes not yet in the batch begin, and the batch.
    std::size_t segment_start_ = 0;
    std::vector<BackgroundWriter::Piece> batch_;
    std::size_t batch_sections_ = 0;
    bool failed_ = false; // a write failed: nothing more is written

    void put_bytes_across(std::string_view bytes);
    void flush();
    void write_out(const char* bytes, std::size_t n);
    static bool is_behind(BackgroundWriter::Backlog backlog);
    void add_segment(bool releases_chunk, bool followed);
    void hand_over_batch();
    void hand_over_buffer(bool followed);
};

} // namespace tessen
