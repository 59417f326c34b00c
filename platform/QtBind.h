#pragma once
// Connects a toolkit signal to a window's handler through the error guard, so that an
// exception leaving the handler is shown to the user instead of passing into the toolkit.
// The handler takes the signal's one argument, or none.
#include <QObject>

#include "platform/ErrorDisplay.h"

template <class Sender, class Signal, class Form>
void Bind(Sender* sender, Signal signal, Form* form, void (Form::*handler)()) {
    QObject::connect(sender, signal, form,
                     [form, handler] { GuardedCall([&] { (form->*handler)(); }); });
}

template <class Sender, class Signal, class Form, class Arg>
void Bind(Sender* sender, Signal signal, Form* form, void (Form::*handler)(Arg)) {
    QObject::connect(sender, signal, form,
                     [form, handler](Arg arg) { GuardedCall([&] { (form->*handler)(arg); }); });
}
