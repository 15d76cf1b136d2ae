#pragma once

#include "editing/AnimationClock.h"
#include "viewer/Matrix4.h"

namespace viewer {

/// The matrix that puts a component's own points where `pose` has them: turned about X, then
/// Y, then Z, then moved. The draw multiplies the component's frame by it.
Matrix4 poseMatrix(const editing::Pose& pose);

} // namespace viewer
