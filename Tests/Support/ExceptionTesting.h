#pragma once
// Runs code that is expected to throw a heap-allocated exception of type E, and hands the caught exception over
// owned, so that tests never leak it. Any other outcome fails the test and gives null.

#include "win/CException.h"

#include <gtest/gtest.h>

template <class E, class F>
CExceptionPtr<E> catchException(F&& code) {
    try {
        code();
    } catch (CException* caught) {
        CExceptionPtr<CException> held(caught);
        if (auto* typed = dynamic_cast<E*>(caught)) {
            held.release();
            return CExceptionPtr<E>(typed);
        }
        ADD_FAILURE() << "a different exception was thrown";
        return nullptr;
    }
    ADD_FAILURE() << "no exception was thrown";
    return nullptr;
}
