#pragma once

#include <utility>

namespace tessen {

class RecordSink;

// Records to be laid out later, perhaps by another thread (RecordSink::write_section),
// from a source object that the section holds: a member write(RecordSink&) lays them out,
// and a member give_back() returns the source to wherever it came from. The section
// gives it back once written, even when writing raises a fault, and also when it is
// dropped unwritten (the report ended by an earlier fault). Moved, never copied: handing
// a section on allocates nothing.
class ReportSection {
  public:
    ReportSection() = default;
    template <typename Source>
    explicit ReportSection(Source* source)
        : source_(source),
          write_([](void* s, RecordSink& sink) { static_cast<Source*>(s)->write(sink); }),
          give_back_([](void* s) { static_cast<Source*>(s)->give_back(); }) {}
    ReportSection(ReportSection&& other) noexcept
        : source_(std::exchange(other.source_, nullptr)), write_(other.write_),
          give_back_(other.give_back_) {}
    ReportSection& operator=(ReportSection&& other) noexcept {
        if (this != &other) {
            give_back();
            source_ = std::exchange(other.source_, nullptr);
            write_ = other.write_;
            give_back_ = other.give_back_;
        }
        return *this;
    }
    ReportSection(const ReportSection&) = delete;
    ReportSection& operator=(const ReportSection&) = delete;
    ~ReportSection() { give_back(); }

    // Lays out the records into sink, once; the source is given back either way.
    void write(RecordSink& sink) {
        struct GiveBack {
            ReportSection& section;
            ~GiveBack() { section.give_back(); }
        } give_back_after{*this};
        if (source_ != nullptr)
            write_(source_, sink);
    }

  private:
    void* source_ = nullptr;
    void (*write_)(void*, RecordSink&) = nullptr;
    void (*give_back_)(void*) = nullptr;

    void give_back() {
        if (source_ != nullptr)
            give_back_(std::exchange(source_, nullptr));
    }
};

} // namespace tessen
