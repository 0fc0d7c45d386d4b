<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Quirna</name>
    <message><source>已批准</source><translation>已批准</translation></message>
    <message><source>未批准</source><translation>未批准</translation></message>
    <message><source>已完成</source><translation>已完成</translation></message>
    <message><source>终稿</source><translation>终稿</translation></message>
    <message><source>已收到</source><translation>已收到</translation></message>
    <message><source>已修订</source><translation>已修订</translation></message>
    <message><source>已审阅</source><translation>已审阅</translation></message>
    <message><source>草稿</source><translation>草稿</translation></message>
    <message><source>机密</source><translation>机密</translation></message>
    <message><source>无效</source><translation>无效</translation></message>
    <message><source>仅供参考</source><translation>仅供参考</translation></message>
    <message><source>可公布</source><translation>可公布</translation></message>
    <message><source>不可公布</source><translation>不可公布</translation></message>
    <message><source>请注释</source><translation>请注释</translation></message>
    <message><source>初步结果</source><translation>初步结果</translation></message>
    <message><source>过期</source><translation>过期</translation></message>
    <message><source>已批准L</source><translation>已批准L</translation></message>
    <message><source>已审阅L</source><translation>已审阅L</translation></message>
    <message><source>已修订L</source><translation>已修订L</translation></message>
    <message><source>已收到L</source><translation>已收到L</translation></message>
    <message><source>在此签名</source><translation>在此签名</translation></message>
    <message><source>在此开始</source><translation>在此开始</translation></message>
    <message><source>见证人</source><translation>见证人</translation></message>
    <message><source>自定义</source><translation>自定义</translation></message>
    <message><source>无法读取该图片文件。</source><translation>无法读取该图片文件。</translation></message>
    <message><source>图片太大，无法放置。</source><translation>图片太大，无法放置。</translation></message>
</context>
</TS>
