#pragma once

#include "PDFDestination.h"

#include <QString>
#include <variant>

// The action of a link annotation: a go-to within the document or a URL.
struct PDFActionGoTo {
    PDFDestination destination;
    bool operator==(const PDFActionGoTo &) const = default;
};

struct PDFActionURL {
    QString url;
    bool operator==(const PDFActionURL &) const = default;
};

using PDFAction = std::variant<std::monostate, PDFActionGoTo, PDFActionURL>;
