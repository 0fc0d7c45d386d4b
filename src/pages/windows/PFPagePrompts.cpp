#include "PFPagePrompts.h"

#include "PFSystemPagePrompts.h"

namespace {
PFPagePrompts *installed = nullptr;
}

PFPagePrompts &PFPagePrompts::current()
{
    static PFSystemPagePrompts system;
    return installed ? *installed : system;
}

void PFPagePrompts::setCurrent(PFPagePrompts *prompts) { installed = prompts; }
