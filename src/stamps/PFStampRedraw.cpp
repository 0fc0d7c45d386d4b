#include "PFStampRedraw.h"

#include "PFStampAnnotation.h"

#include "signatures/PFStampTextAnnotation.h"

bool PFStampRedraw::redrawAtBounds(const PDFAnnotation &annotation)
{
    if (PFStampAnnotation stamp(annotation); !stamp.isNull()) {
        stamp.setBounds(stamp.bounds());
        return true;
    }
    if (PFStampTextAnnotation signature(annotation); !signature.isNull()) {
        signature.setBounds(signature.bounds());
        return true;
    }
    return false;
}
