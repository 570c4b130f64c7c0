// Internal to platform/d3drm: the one walk of a frame hierarchy that drawing, light
// collection, picking and geometry collection share.
//
// A walk visits a frame, then its visuals in order — a frame shown as a visual is walked in
// place, its hierarchy once more under the frame that shows it, placed by its own transform —
// then its children. A frame already on the current path is not entered again, so frames that
// show each other (or themselves) end: each is visited once per path, not once per walk.
//
// The visitor is any object with (each optional):
//   void Enter(const SceneNode&)                        — a frame is reached
//   void Visual(const SceneNode&, IDirect3DRMVisual*)  — one of its visuals that is not a frame
//   void Leave(const SceneNode&)                        — its visuals and children are done
#pragma once

#include <glm/glm.hpp>

#include <algorithm>
#include <vector>

#include "platform/d3drm/frame.h"

// One frame as a walk reaches it along one path.
struct SceneNode {
    Frame* frame = nullptr;            // the frame reached
    glm::mat4 world{1.0f};             // its local -> world along this path
    Frame* colorSource = nullptr;      // the frame whose colour its visuals take, or nullptr
};

// The colour source of a frame reached from a parent whose visuals took `parentSource`
// (material modes: the mesh's own, the frame's colour, or the parent's source).
inline Frame* SceneColorSource(Frame& frame, Frame* parentSource) {
    switch (frame.GetMaterialMode()) {
    case D3DRMMATERIAL_FROMFRAME: return &frame;
    case D3DRMMATERIAL_FROMPARENT: return parentSource;
    default: return nullptr;
    }
}

class SceneWalk {
public:
    // `frameVisuals` false walks the children only: frames shown as visuals are skipped.
    explicit SceneWalk(bool frameVisuals = true) : frameVisuals_(frameVisuals) {}

    // Walks `top` placed at `world`; `parentSource` is the colour source of whatever holds it.
    template <class Visitor>
    void Run(Frame& top, const glm::mat4& world, Frame* parentSource, Visitor& visitor) {
        path_.clear();
        Visit(SceneNode{&top, world, SceneColorSource(top, parentSource)}, visitor);
    }

    // The frames from the walk's top down to the one being visited.
    const std::vector<Frame*>& Path() const { return path_; }

private:
    template <class Visitor>
    void Visit(const SceneNode& node, Visitor& visitor) {
        Frame& frame = *node.frame;
        path_.push_back(&frame);
        if constexpr (requires { visitor.Enter(node); }) visitor.Enter(node);
        for (const auto& visualRef : frame.Visuals()) {
            IDirect3DRMVisual* visual = visualRef.get();
            if (auto* instance = dynamic_cast<Frame*>(visual)) {
                if (frameVisuals_ && std::find(path_.begin(), path_.end(), instance) == path_.end())
                    Visit(SceneNode{instance, node.world * instance->LocalTransform(),
                                    SceneColorSource(*instance, node.colorSource)},
                          visitor);
                continue;
            }
            if constexpr (requires { visitor.Visual(node, visual); }) visitor.Visual(node, visual);
        }
        for (const auto& child : frame.Children()) {
            Frame* c = Frame::From(child.get());
            Visit(SceneNode{c, node.world * c->LocalTransform(), SceneColorSource(*c, node.colorSource)}, visitor);
        }
        if constexpr (requires { visitor.Leave(node); }) visitor.Leave(node);
        path_.pop_back();
    }

    bool frameVisuals_;
    std::vector<Frame*> path_;
};
