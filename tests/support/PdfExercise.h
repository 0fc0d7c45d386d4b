#pragma once

#include <QByteArray>

// Takes arbitrary bytes as a PDF through the engine layer: renders page 1 small, extracts its
// text and walks its annotations and the outline. Shared by the fuzzer and its regression test.
void exercisePdfBytes(const QByteArray &bytes);
