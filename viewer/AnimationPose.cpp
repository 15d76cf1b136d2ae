#include "viewer/AnimationPose.h"

#include <numbers>

namespace viewer {

Matrix4 poseMatrix(const editing::Pose& pose)
{
    constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;
    // Multiplied on the right, so the last turn given is the first applied to a point.
    Matrix4 m;
    m.translate(pose.move.x, pose.move.y, pose.move.z);
    m.rotateZ(pose.rotation.z * DegreesPerRadian);
    m.rotateY(pose.rotation.y * DegreesPerRadian);
    m.rotateX(pose.rotation.x * DegreesPerRadian);
    return m;
}

} // namespace viewer
