#include "core/io/rds_browser.h"

#include "core/io/read_watch.h"

#include <cassert>

namespace kalvo {

TRDSbrowser::TRDSbrowser(TMessageSink* sink) : sink_(sink) {}

TRDSbrowser::~TRDSbrowser() = default;

void TRDSbrowser::SetWatch(TReadWatch* watch)
{
    watch_ = watch;
    if (watch_)
        watch_->SetPasses(2);
}

bool TRDSbrowser::ScanFile(const std::string& fileName)
{
    fileName_ = fileName;
    entries_.clear();
    reader_ = std::make_unique<TRDSobject>(sink_);
    TRDSobject& reader = *reader_;
    reader.SetWatch(watch_);
    reader.OpenFile(fileName);

    // The signature line reads as "3DC {", so the header block is skipped on the way.
    if (reader.FindStatement("sc") != "{")
        return false;
    if (reader.FindStatement("ob") != "{")
        return false;

    while (!reader.AtEnd) {
        const TRDSstatement statement = reader.ReadStatement();
        if (statement.Tag == "vmda") {
            const std::int64_t offset = reader.CurrentPosition();
            const std::int64_t line = reader.LineNumber();
            // The name is the object's own "nm", not one inside a nested block; an object
            // without one is not listed.
            for (;;) {
                const TRDSstatement inner = reader.ReadStatement();
                if (inner.Tag.empty() || inner.Tag == "}")
                    break;
                if (inner.Tag == "nm") {
                    entries_.push_back({std::string(inner.Value), offset, line});
                    reader.SkipBlock();
                    break;
                }
                if (inner.Value == "{")
                    reader.SkipBlock();
            }
        } else if (statement.Value == "{") {
            reader.SkipBlock();
        }
    }
    return !entries_.empty();
}

void TRDSbrowser::LoadObjects(const TRDSloadCallbacks& callbacks)
{
    assert(callbacks.CreateModelEntry);
    if (!reader_)
        return;
    if (watch_)
        watch_->NextPass();
    for (const TRDSentry& entry : entries_) {
        TpreviewObj& model = callbacks.CreateModelEntry(entry.Name);
        reader_->ReadObject(entry.Offset, model, entry.Line, callbacks.Progress);
        if (callbacks.ObjectLoaded)
            callbacks.ObjectLoaded(model);
    }
}

} // namespace kalvo
