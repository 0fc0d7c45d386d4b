#include "PFStampCatalogue.h"

#include "PFStampDrawing.h"

#include "platform/store/Localization.h"

namespace {

const QColor greenInk(65, 104, 33), greenFill(216, 229, 209);
const QColor redInk(140, 20, 15), redFill(254, 205, 205);
const QColor blueInk(26, 40, 93), blueFill(221, 229, 241);
const QColor signHereFill(221, 113, 95), startHereFill(179, 169, 233), witnessFill(249, 240, 160);

using Form = PFStampCatalogue::Form;
using Arrow = PFStampCatalogue::Arrow;

// QT_TRANSLATE_NOOP keeps the keys visible to the translation tools.
const PFStampCatalogue::Entry catalogue[PFStampCatalogue::kCount] = {
    {QT_TRANSLATE_NOOP("Quirna", "已批准"), "已批准", greenInk, greenFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "未批准"), "未批准", redInk, redFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "已完成"), "已完成", greenInk, greenFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "终稿"), "终稿", greenInk, greenFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "已收到"), "已收到", greenInk, greenFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "已修订"), "已修订", greenInk, greenFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "已审阅"), "已审阅", greenInk, greenFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "草稿"), "草稿", blueInk, blueFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "机密"), "机密", redInk, redFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "无效"), "无效", redInk, redFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "仅供参考"), "仅供参考", blueInk, blueFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "可公布"), "可公布", blueInk, blueFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "不可公布"), "不可公布", blueInk, blueFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "请注释"), "请注释", blueInk, blueFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "初步结果"), "初步结果", blueInk, blueFill, Form::Rectangle, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "过期"), "过期", redInk, redFill, Form::Rectangle, Arrow::None},
    {"已批准", QT_TRANSLATE_NOOP("Quirna", "已批准L"), greenInk, greenFill, Form::Dated, Arrow::None},
    {"已审阅", QT_TRANSLATE_NOOP("Quirna", "已审阅L"), greenInk, greenFill, Form::Dated, Arrow::None},
    {"已修订", QT_TRANSLATE_NOOP("Quirna", "已修订L"), greenInk, greenFill, Form::Dated, Arrow::None},
    {"已收到", QT_TRANSLATE_NOOP("Quirna", "已收到L"), greenInk, greenFill, Form::Dated, Arrow::None},
    {QT_TRANSLATE_NOOP("Quirna", "在此签名"), "在此签名", redInk, signHereFill, Form::Arrow, Arrow::SignHere},
    {QT_TRANSLATE_NOOP("Quirna", "在此开始"), "在此开始", blueInk, startHereFill, Form::Arrow, Arrow::StartHere},
    {QT_TRANSLATE_NOOP("Quirna", "见证人"), "见证人", blueInk, witnessFill, Form::Arrow, Arrow::Witness},
};

} // namespace

const PFStampCatalogue::Entry &PFStampCatalogue::entry(int index)
{
    return catalogue[index];
}

QString PFStampCatalogue::label(int index)
{
    return isValid(index) ? pfLocalized(catalogue[index].labelKey) : QString();
}

QString PFStampCatalogue::widthText(int index)
{
    return pfLocalized(isValid(index) ? catalogue[index].widthKey : "不可公布");
}

double PFStampCatalogue::placementWidth(int index)
{
    return PFStampDrawing::measure(widthText(index), true, 27).width;
}
