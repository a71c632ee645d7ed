#pragma once

#include "core/io/rds_reader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kalvo {

class TMessageSink;
class TpreviewObj;

// One mesh object found by the scan.
struct TRDSentry
{
    std::string Name;        // the "nm" value, code page 932, double quotes included
    std::int64_t Offset = 0; // first byte after the "vmda" line
    std::int64_t Line = 1;   // line number of that byte, for messages
};

// What loading the objects needs from its caller.
struct TRDSloadCallbacks
{
    // Creates an empty model with the given name (code page 932, quotes included), registers it
    // wherever the caller keeps models and returns it. Required.
    std::function<TpreviewObj&(const std::string& name)> CreateModelEntry;
    // Called after each object has been read, e.g. to add one tree node per group. Optional.
    std::function<void(TpreviewObj& model)> ObjectLoaded;
    TReadProgress Progress;
};

// The two passes over an RDS file: the scan lists every named mesh object ("vmda" inside the
// scene's "ob" block) with the offset of its content, the load creates one model per listed
// object, in file order, and reads it. The file stays open between the two. The Open command
// and the command line create one per file and let it go afterwards, which closes the file.
class TRDSbrowser
{
public:
    // The sink receives "not an RDS file"; may be null.
    explicit TRDSbrowser(TMessageSink* sink = nullptr);
    ~TRDSbrowser();

    // The scan and the load tell watch how far they have come through the file, and stop when
    // it says so (throwing TReadCancelled): two passes. watch may be null; it must outlive the
    // passes otherwise.
    void SetWatch(TReadWatch* watch);

    // True when at least one named object was found. Throws TReadError when the file cannot be
    // read. A false result means the caller tells the user that the file holds no mesh.
    bool ScanFile(const std::string& fileName);
    // Loads every scanned object. Throws TReadError (a value that does not convert, a failing
    // read); the models created before stay with the caller.
    void LoadObjects(const TRDSloadCallbacks& callbacks);

    const std::vector<TRDSentry>& Entries() const { return entries_; }
    const std::string& FileName() const { return fileName_; }

private:
    TMessageSink* sink_;
    TReadWatch* watch_ = nullptr;
    std::string fileName_;
    std::unique_ptr<TRDSobject> reader_;
    std::vector<TRDSentry> entries_;
};

// The message the Open command shows when a scan finds nothing.
inline constexpr const char* kRdsNoMeshMessage =
    "このファイルにはメッシュ形状がふくまれていません。";

} // namespace kalvo
