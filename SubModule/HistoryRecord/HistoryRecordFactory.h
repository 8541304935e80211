#pragma once

#include <QtGlobal>

class QWidget;

namespace VEK_SC_Space {
class ISubModuleWid;
}

// The module's only entry point. Returns a new history page of the given type for the account
// under accountKey, with parent as its Qt parent, or null: for an unknown page type, an unknown
// account or an account kind the page cannot show. An older page of the type on the same
// account hands its records over to the new one and stays empty. The client calls
// initSubModule() on the page next.
extern "C" Q_DECL_EXPORT VEK_SC_Space::ISubModuleWid* CreateISubModuleWid_HistoryRecordWid(
    int accountKey, int pageType, QWidget* parent);
