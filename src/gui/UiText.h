#pragma once

#include <QString>

#include "ui/StringTable.h"

namespace varnow::gui {

// The texts of the chosen language, as Qt strings.
class UiText {
public:
    UiText(const StringTable& strings, Language language)
        : m_strings(strings), m_language(language) {}
    QString operator()(int id) const {
        return QString::fromStdString(m_strings.Text(id, m_language));
    }
    const StringTable& strings() const { return m_strings; }
    Language language() const { return m_language; }

private:
    const StringTable& m_strings;
    Language m_language;
};

// Ids of the window texts in the string table.
enum UiTextId : int {
    kTextComPort = 300,
    kTextQvkFilePath = 301,
    kTextFileMenu = 302,
    kTextOpenQvk = 303,
    kTextFunctionMenu = 304,
    kTextProductInfo = 305,
    kTextNetworkInfo = 306,
    kTextLanguageMenu = 307,
    kTextKorean = 308,
    kTextEnglish = 309,
    kTextAbout = 310,
    kTextCaption = 311,
    kTextVersionLabel = 312,
    kTextAboutLine = 313,
    kTextQvkFilter = 314,
    kTextIdPassword = 315,
    kTextPassword = 316,
    kTextRetypePassword = 317,
    kTextDelete = 318,
    kTextUpgrade = 319,
};

}  // namespace varnow::gui
