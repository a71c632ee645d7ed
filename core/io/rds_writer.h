#pragma once

#include "core/base/atomic_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

class TpreviewObj;

// The eight lines every RDS file begins with. They open the file's "sc" and "ob" blocks, which
// the objects and the footer rely on.
const std::vector<std::string>& RdsHeaderLines();

// A format-neutral writer: a list of models to write (referred to, not owned) and the output
// file. The export command hands it the accepted models one by one, then writes them.
//
// Output never goes straight into the target: it goes through a TAtomicFile, which OpenFile
// opens and CloseFile commits, with its rules for links, permissions and syncing. A writer
// destroyed before CloseFile (a failed export) removes its temporary file and leaves whatever
// was at the target untouched. Every failure throws TWriteError with the system's message.
//
// Lines pass through one large buffer, so a writer can also render into memory: without
// OpenFile, TakeText returns everything written so far.
class TObjwriter
{
public:
    TObjwriter();
    virtual ~TObjwriter();
    TObjwriter(const TObjwriter&) = delete;
    TObjwriter& operator=(const TObjwriter&) = delete;

    // The model must outlive the writer, or at least its last write.
    virtual void AddObject(const TpreviewObj& object);
    virtual void WriteObjects() = 0;
    virtual void WriteLines(const std::vector<std::string>& lines);
    virtual void WriteFooter() = 0;

    // name is a path in the system's encoding (UTF-8). Throws TWriteError when no temporary
    // file can be made beside the target (a missing or read-only folder).
    void OpenFile(const std::string& name);
    // Writes text followed by CR LF.
    void WriteLine(std::string_view text);
    // Writes what is buffered and puts the file in place of the target. Throws TWriteError;
    // the target is then what it was before OpenFile.
    void CloseFile();
    // Without an open file: everything written so far, and the buffer is emptied.
    std::string TakeText();

    const std::vector<const TpreviewObj*>& Objects() const { return objects_; }
    bool IsOpen() const { return isOpen_; }

protected:
    // Derived writers compose a line straight into Out() and finish it with EndLine(), so no
    // line is built as a string of its own.
    std::string& Out() { return buffer_; }
    void EndLine();

private:
    void Flush();

    std::vector<const TpreviewObj*> objects_;
    std::string buffer_;
    bool isOpen_ = false;
    TAtomicFile file_;
};

// Writes models as an RDS ASCII scene: one "vmda" block per model inside the header's "ob"
// block, then a scene tree with one entry per model.
//
// The export command's order: AddObject for each accepted model, then either WriteFile(path),
// or by hand OpenFile, WriteLines(RdsHeaderLines()), WriteObjects, WriteFooter, CloseFile.
//
// Which edges go into the file is the export validation's answer: run CountEdgeUse on every
// model first (and SetEdgeUse(1) when loose lines are kept), so edges no polygon uses stay out.
// On a model the validation has not seen, every edge is written, loose lines included; the
// writer checks nothing else (an edge shared by three faces is written as it is).
class TRDSwriter : public TObjwriter
{
public:
    void WriteObjects() override;
    void WriteFooter() override;

    // The whole file: header, objects and footer, put in place of path only once complete.
    // Throws TWriteError.
    void WriteFile(const std::string& path);
    // The whole file's bytes, without touching the disk.
    std::string WriteToString();

private:
    void WriteObject(const TpreviewObj& object);
    void AppendNameValue(const std::string& name);
};

} // namespace kalvo
