#pragma once

#include <QString>

namespace quillet::system {

// The languages the windows speak. Chinese is the program's own: its texts are the
// translation sources, and every locale without English keeps them.
enum class Language { Chinese, English };

namespace LanguageChoice {

// The user's preferences: the colon-separated LANGUAGE list, then LANG (LC_ALL and
// LC_MESSAGES only set formats here). The first preference the program has (en..., zh...)
// wins; none, or "C", keeps Chinese.
Language fromVariables(const QString &language, const QString &lang);
// The same, of this process's environment.
Language ofProcess();

} // namespace LanguageChoice

} // namespace quillet::system
