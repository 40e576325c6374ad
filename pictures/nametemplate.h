#pragma once

#include <QString>

namespace quillet::pictures {

// What a name template may say of one picture.
struct NameFields
{
    QString text; // the caption
    QString state; // the state word of the designer's names: 正常, 按下, 点燃, 禁止, 选中; "sprite"
    QString skin;
    QString control; // button, combo, check
    int width = 0; // logical size of the picture
    int height = 0;
};

// File names from a template such as "{skin}/{text}_{state}": "/" makes subfolders under
// the output folder, and nothing a template or a field value says may lead out of it.
namespace NameTemplate {

// Empty when the template can name files, otherwise why not (an unknown field, a brace
// left open, an absolute path, an empty, "." or ".." folder).
QString problem(const QString &nameTemplate);
// The relative path (no extension) for these fields; empty when the result would not stay
// inside the output folder or holds a part no file system here can store.
QString expand(const QString &nameTemplate, const NameFields &fields);
// True for "a/b/c" whose every part is a safe file name: no absolute path, no empty, "."
// or ".." part, no backslash.
bool isSafeRelativePath(const QString &path);

} // namespace NameTemplate

} // namespace quillet::pictures
