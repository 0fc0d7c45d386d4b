#pragma once

#include <memory>

class PDFDocument;
struct PDFDocumentData;

// Holds a document for the calling thread if no other thread has it at this moment. Work that
// can as well run a moment later (the deferred page check) uses it on the GUI thread instead of
// waiting behind a worker that is building a page. While held, the thread's own calls on the
// document go straight through; the hold ends with the object.
class PDFDocumentHold {
public:
    static PDFDocumentHold tryHold(const PDFDocument &document);
    PDFDocumentHold(PDFDocumentHold &&other) noexcept = default;
    PDFDocumentHold &operator=(PDFDocumentHold &&) = delete;
    ~PDFDocumentHold();

    bool isHeld() const { return m_data != nullptr; }

private:
    explicit PDFDocumentHold(std::shared_ptr<PDFDocumentData> data) : m_data(std::move(data)) {}
    std::shared_ptr<PDFDocumentData> m_data; // null when not held
};
