#pragma once

// What the fuzz targets share: a sink that answers nothing, a scratch file for the readers
// that read from a path, and the check that a model read from any input only names vertices
// and edges it has, and can be written again.

#include "core/base/message_sink.h"
#include "core/model/preview_obj.h"

#include <string>
#include <string_view>

namespace kalvo::fuzz {

class TQuietSink : public TMessageSink
{
public:
    TAnswer Show(TMsgKind, const std::string&, TButtons buttons) override
    {
        ++Count;
        return buttons == TButtons::YesNo || buttons == TButtons::YesNoCancel ? TAnswer::No
                                                                              : TAnswer::Ok;
    }
    int Count = 0;
};

// Throws TFuzzFault with what when condition is false.
void Expect(bool condition, const char* what);

// A file holding given bytes, in memory-backed storage where there is some, removed again by
// the destructor. Each process uses one name per extension, so the target stays cheap.
class TScratchFile
{
public:
    TScratchFile(std::string_view bytes, const char* extension);
    ~TScratchFile();
    TScratchFile(const TScratchFile&) = delete;
    TScratchFile& operator=(const TScratchFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Indices in range, groups counted, and (when the export would accept it) writable.
void CheckModel(TpreviewObj& model);

} // namespace kalvo::fuzz
