#pragma once

namespace web {

// Why a page is about to load, with the platform's numeric values.
enum class NavigationType : int {
    LinkClicked = 0,
    FormSubmitted = 1,
    BackForward = 2,
    Reload = 3,
    FormResubmitted = 4,
    Other = 5,
};

} // namespace web
