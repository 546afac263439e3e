#pragma once
// How the configuration document asks a view whether it may close, before the
// configuration views themselves exist in the library. The unit of the configuration
// view base installs one question: given any view, it tells whether the view is a
// configuration view and, if so, what the view's own CanClose() answers (a view in an
// edit state asks the operator). Until one is installed every view is "not a
// configuration view", which never blocks closing. Tests install their own.
class CView;

enum class ZynConfigViewAnswer {
    NotConfigView, // any other view: never asked, never blocks
    MayClose,      // a configuration view that agreed
    Refuses,       // a configuration view that refused (the operator kept the edit)
};

using ZynConfigViewCloseQuery = ZynConfigViewAnswer (*)(CView* view);

// Installs the question (null removes it) and returns the previous one.
ZynConfigViewCloseQuery ZynSetConfigViewCloseQuery(ZynConfigViewCloseQuery query);
// Asks the installed question; NotConfigView for a null view or when none is installed.
ZynConfigViewAnswer ZynAskConfigViewToClose(CView* view);
