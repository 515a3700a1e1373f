#pragma once

#include "platform/graphics/RecordedOperation.h"
#include "platform/graphics/RecordingContext.h"
#include "platform/ui/View.h"

#include <vector>

namespace testing_support {

// What a view draws into a recording context, so tests can check placement without pixels.
class RecordedDrawing {
public:
    static std::vector<graphics::RecordedOperation> of(ui::View& view,
                                                       graphics::RecordedOperation::Kind kind) {
        graphics::RecordingContext context;
        view.drawRect(context, view.bounds());
        return context.operationsOfKind(kind);
    }
};

} // namespace testing_support
