<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AboutWindow</name>
    <message>
        <source> 关于</source>
        <translation> About</translation>
    </message>
    <message>
        <source>Pelorin 工作室 版权所有</source>
        <translation>Copyright Pelorin Studio</translation>
    </message>
    <message>
        <source>邮箱 pelorin@example.org 即时通讯 100000</source>
        <translation>Mail pelorin@example.org IM 100000</translation>
    </message>
    <message>
        <source>   本软件为免费软件，可自由传播和使用。</source>
        <translation>   Free software: use and share freely.</translation>
    </message>
    <message>
        <source>   窗口右边有一个IE浏览框，里边显示最新版</source>
        <translation>   The browser panel on the right shows</translation>
    </message>
    <message>
        <source>本、帮助、和官方网站的一些信息，也可能放</source>
        <translation>the latest version, help and news from</translation>
    </message>
    <message>
        <source>一些广告连接。</source>
        <translation>our website, and maybe a few ad links.</translation>
    </message>
    <message>
        <source>   欢迎提出使用意见并反馈，以望得到改进。</source>
        <translation>   Your comments help us improve it.</translation>
    </message>
</context>
<context>
    <name>DesignerWindow</name>
    <message>
        <source>按钮宽</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>按钮高</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>底色选择</source>
        <translation>Backdrop</translation>
    </message>
    <message>
        <source>输出按钮状态图片</source>
        <translation>Button states</translation>
    </message>
    <message>
        <source>去除边框</source>
        <translation>No border</translation>
    </message>
    <message>
        <source>输出组合框钮图片</source>
        <translation>Combo buttons</translation>
    </message>
    <message>
        <source>输出选择框状态图片</source>
        <translation>Check box states</translation>
    </message>
    <message>
        <source>输出全窗口图片</source>
        <translation>Whole window</translation>
    </message>
    <message>
        <source>输出BMP格式图片</source>
        <translation>BMP pictures</translation>
    </message>
    <message>
        <source>输出JPG格式图片</source>
        <translation>JPG pictures</translation>
    </message>
    <message>
        <source>输出GIF格式图片</source>
        <translation>GIF pictures</translation>
    </message>
    <message>
        <source>输出PNG格式图片</source>
        <translation>PNG pictures</translation>
    </message>
    <message>
        <source>确认修改</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save pictures</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>正常图片</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>按下图片</source>
        <translation>Pressed</translation>
    </message>
    <message>
        <source>点燃图片</source>
        <translation>Hot</translation>
    </message>
    <message>
        <source>禁止图片</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>选中图片</source>
        <translation>Checked</translation>
    </message>
</context>
<context>
    <name>Exporter</name>
    <message>
        <source>确定保存下述文件?</source>
        <translation>Save these files?</translation>
    </message>
    <message>
        <source>请选择图片保存的目录！</source>
        <translation>Choose the folder for the pictures</translation>
    </message>
</context>
<context>
    <name>IconMenu</name>
    <message>
        <source>选择图标…</source>
        <translation>Choose icon…</translation>
    </message>
    <message>
        <source>图标位置</source>
        <translation>Icon position</translation>
    </message>
    <message>
        <source>去掉图标</source>
        <translation>Remove icon</translation>
    </message>
    <message>
        <source>选择图标</source>
        <translation>Choose icon</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
</context>
<context>
    <name>OutputFolder</name>
    <message>
        <source>请选择一个文件夹</source>
        <translation>Choose a folder</translation>
    </message>
</context>
<context>
    <name>SaveOptionsMenu</name>
    <message>
        <source>透明背景</source>
        <translation>Transparent background</translation>
    </message>
    <message>
        <source>同时输出 @2x 图片</source>
        <translation>Also write @2x pictures</translation>
    </message>
    <message>
        <source>输出精灵图和 CSS</source>
        <translation>Write sprite and CSS</translation>
    </message>
    <message>
        <source>输出焦点图片</source>
        <translation>Write focus pictures</translation>
    </message>
    <message>
        <source>强调色…</source>
        <translation>Accent colour…</translation>
    </message>
    <message>
        <source>不用强调色</source>
        <translation>No accent colour</translation>
    </message>
    <message>
        <source>输出网页按钮套件…</source>
        <translation>Write web button kit…</translation>
    </message>
    <message>
        <source>输出 Qt 按钮套件…</source>
        <translation>Write Qt button kit…</translation>
    </message>
    <message>
        <source>输出 Android 按钮套件…</source>
        <translation>Write Android button kit…</translation>
    </message>
    <message>
        <source>输出 Godot 按钮主题…</source>
        <translation>Write Godot button theme…</translation>
    </message>
</context>
<context>
    <name>StartTexts</name>
    <message>
        <source>输入按钮文字</source>
        <translation>Button text</translation>
    </message>
    <message>
        <source>选中</source>
        <translation>On</translation>
    </message>
    <message>
        <source>未选</source>
        <translation>Off</translation>
    </message>
</context>
</TS>
