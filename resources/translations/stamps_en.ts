<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Quirna</name>
    <message><source>已批准</source><translation>APPROVED</translation></message>
    <message><source>未批准</source><translation>NOT APPROVED</translation></message>
    <message><source>已完成</source><translation>COMPLETED</translation></message>
    <message><source>终稿</source><translation>FINAL</translation></message>
    <message><source>已收到</source><translation>RECEIVED</translation></message>
    <message><source>已修订</source><translation>REVISED</translation></message>
    <message><source>已审阅</source><translation>REVIEWED</translation></message>
    <message><source>草稿</source><translation>DRAFT</translation></message>
    <message><source>机密</source><translation>CONFIDENTIAL</translation></message>
    <message><source>无效</source><translation>VOID</translation></message>
    <message><source>仅供参考</source><translation>FOR REFERENCE ONLY</translation></message>
    <message><source>可公布</source><translation>FOR PUBLIC RELEASE</translation></message>
    <message><source>不可公布</source><translation>NOT FOR PUBLIC RELEASE</translation></message>
    <message><source>请注释</source><translation>PLEASE COMMENT</translation></message>
    <message><source>初步结果</source><translation>PRELIMINARY RESULTS</translation></message>
    <message><source>过期</source><translation>EXPIRED</translation></message>
    <message><source>已批准L</source><translation>APPROVEDL</translation></message>
    <message><source>已审阅L</source><translation>REVIEWEDL</translation></message>
    <message><source>已修订L</source><translation>REVISEDL</translation></message>
    <message><source>已收到L</source><translation>RECEIVEDL</translation></message>
    <message><source>在此签名</source><translation>Sign Here</translation></message>
    <message><source>在此开始</source><translation>Start Here</translation></message>
    <message><source>见证人</source><translation>Witness</translation></message>
    <message><source>自定义</source><translation>Custom</translation></message>
    <message><source>无法读取该图片文件。</source><translation>This image file can’t be read.</translation></message>
    <message><source>图片太大，无法放置。</source><translation>The image is too large to place.</translation></message>
</context>
</TS>
