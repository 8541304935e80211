#pragma once

#include <QtGlobal>

class QWidget;

namespace VEK_SC_Space {
class ISubModuleWid;
}

// The module's only entry point. Returns a new history page of the given type for the account
// under accountKey, with parent as its Qt parent, or null: for an unknown page type, an unknown
// account, an account kind the page cannot show, or a page of that type already open on the
// account. The client calls initSubModule() on the page next.
extern "C" Q_DECL_EXPORT VEK_SC_Space::ISubModuleWid* CreateISubModuleWid_HistoryRecordWid(
    int accountKey, int pageType, QWidget* parent);
