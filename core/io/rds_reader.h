#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

class TMessageSink;
class TReadWatch;
class TpreviewObj;

// What a long read tells the user while it runs. The desktop program sends the status text to
// its status bar and the steps to its progress bar (which cycles as an activity sign); every
// member may be left empty.
struct TReadProgress
{
    std::function<void(const std::string& text)> Begin; // status text (UTF-8), progress shown
    std::function<void()> Step;                         // one vertex or polygon read
    std::function<void()> End;                          // status text off, progress hidden
};

// One statement of an RDS file: the first two blank-separated fields of a line. A line with a
// single field has the value "<nil>". Both point into the reader's line buffer and stay valid
// until the next read.
struct TRDSstatement
{
    std::string_view Tag;
    std::string_view Value;
};

// Byte-level reader of one RDS ASCII file and the reader of its mesh objects. The whole input
// passes through one 100 KiB block buffer and one line buffer, so memory does not grow with
// the file; skipped raw data and blocks are never held.
//
// Lines may end in CR LF, LF or CR alone; any other control byte also ends a line. Owned by the
// RDS browser (rds_browser.h), one per file.
class TRDSobject
{
public:
    static constexpr int kBlockSize = 102400;

    // The sink receives "not an RDS file" once per file; it may be null, and must outlive the
    // reader otherwise.
    explicit TRDSobject(TMessageSink* sink = nullptr);
    ~TRDSobject();
    TRDSobject(const TRDSobject&) = delete;
    TRDSobject& operator=(const TRDSobject&) = delete;

    // Opens the file (a UTF-8 path) for reading raw bytes. Throws TReadError when it cannot be
    // opened; later read failures throw TReadError as well.
    void OpenFile(const std::string& name);
    const std::string& FileName() const { return fileName_; }

    // Every block read tells watch the position reached, and stops the reading when it says
    // so (throwing TReadCancelled). watch may be null; it must outlive the reads otherwise.
    void SetWatch(TReadWatch* watch) { watch_ = watch; }

    // The next byte, or -1 at the end of the file (AtEnd is then set).
    int ReadByte();
    // The absolute offset of the next byte to be read.
    std::int64_t CurrentPosition() const;
    // The number of the line the next byte belongs to, counting CR, LF and CR LF line ends.
    std::int64_t LineNumber() const { return lineNumber_; }
    // The line number of the statement ReadStatement returned last.
    std::int64_t StatementLine() const { return statementLine_; }
    // Continues reading at an absolute offset, whose line number the caller knows (or 1);
    // clears AtEnd.
    void SeekTo(std::int64_t offset, std::int64_t lineNumber = 1);
    // Skips count bytes of raw data.
    void SkipBytes(std::int64_t count);

    // Searches the bytes "3DC" and settles the line-end mode from the end of that line. False
    // when the file ends first.
    bool FindSignature();
    // One raw line, without its line end. Until the signature has been found the signature
    // search runs instead and the line is "3DC {"; when it fails the user is told once and the
    // line is empty. Valid until the next read.
    std::string_view ReadLine();
    // The next non-blank line as a statement, skipping the raw bytes a "$" value announces.
    // Tag and value are empty at the end of the file.
    TRDSstatement ReadStatement();
    // The value of the next statement with this tag, skipping the nested blocks of others;
    // empty when the file ends first. Valid until the next read.
    std::string_view FindStatement(std::string_view tag);
    // Skips to the "}" closing the block whose opening line was just read.
    void SkipBlock();

    // Reads one mesh object's content ("vmda" block from the line after its opening) into
    // model, starting at offset (on line lineNumber). Throws TReadError naming the line when a
    // mapping value does not convert; what was read by then stays in the model.
    void ReadObject(std::int64_t offset, TpreviewObj& model, std::int64_t lineNumber = 1,
                    const TReadProgress& progress = {});

    bool AtEnd = false;
    // Lines end in CR LF (the usual case); false for CR alone or LF alone.
    bool CrLfMode = true;
    bool SignatureFound = false;

private:
    bool LoadNextBlock();
    void EndOfLine(int terminator);
    [[noreturn]] void ThrowReadFailure() const;

    TMessageSink* sink_;
    TReadWatch* watch_ = nullptr;
    std::FILE* file_ = nullptr;
    std::string fileName_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::int64_t blockStart_ = 0; // file offset of buffer_[0]
    std::int64_t nextBlock_ = 0;  // file offset the next block read starts at
    int bufferIndex_ = 0;         // next byte in buffer_
    int bytesInBuffer_ = 0;
    int pushedBack_ = -1; // a byte given back after a lone CR, -1 for none
    std::int64_t fileSize_ = 0;
    std::int64_t lineNumber_ = 1;
    std::int64_t statementLine_ = 1;
    bool signatureFailed_ = false;
    std::string line_;
    std::vector<int> polygonCorners_; // scratch of ReadObject
    std::vector<int> polygonSides_;
};

} // namespace kalvo
