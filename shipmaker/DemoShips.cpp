#include "shipmaker/DemoShips.h"

#include "shipmaker/Vec3Maths.h"

#include <algorithm>
#include <cmath>

namespace shipmaker {

namespace {

// The demo ships stand with their nose towards +z, their right side towards +x and their
// top towards -y, as the fixed views expect.

std::uint32_t textureIndex(Component& c, const std::string& name)
{
    const auto found = std::find(c.textures.begin(), c.textures.end(), name);
    if (found != c.textures.end())
        return static_cast<std::uint32_t>(found - c.textures.begin());
    c.textures.push_back(name);
    return static_cast<std::uint32_t>(c.textures.size() - 1);
}

// A wing from root to tip as a loft of two thin diamond sections across x.
void addWing(Component& c, float rootX, float rootLead, float rootTrail, float rootThickness,
             float tipX, float tipLead, float tipTrail, float tipThickness, float y,
             std::uint32_t texture)
{
    const auto section = [&](float x, float lead, float trail, float thickness) {
        const float middle = lead + (trail - lead) * 0.35f;
        return std::vector<Vec3>{{x, y, lead},
                                 {x, y - thickness / 2, middle},
                                 {x, y, trail},
                                 {x, y + thickness / 2, middle}};
    };
    addLoft(c,
            {section(rootX, rootLead, rootTrail, rootThickness),
             section(tipX, tipLead, tipTrail, tipThickness)},
            texture, 2, 1);
}

// A gun barrel along +z from `from`, `length` long.
void addBarrel(Component& c, Vec3 from, float length, float radius, std::uint32_t texture)
{
    addLoft(c,
            {ellipseRing(from, 2, radius * 1.4f, radius * 1.4f, 6),
             ellipseRing(from + Vec3{0, 0, length * 0.3f}, 2, radius, radius, 6),
             ellipseRing(from + Vec3{0, 0, length}, 2, radius, radius, 6)},
            texture, 1, 2);
}

// An engine nozzle along -z: a flared bell around a glowing end cap.
void addNozzle(Component& c, Vec3 from, float length, float radius, std::uint32_t bell,
               std::uint32_t glow)
{
    addLoft(c,
            {ellipseRing(from, 2, radius * 0.8f, radius * 0.8f, 10),
             ellipseRing(from + Vec3{0, 0, -length}, 2, radius, radius, 10)},
            bell, 1, 1, false);
    addLoft(c,
            {ellipseRing(from + Vec3{0, 0, -length * 0.2f}, 2, radius * 0.75f, radius * 0.75f, 10),
             ellipseRing(from + Vec3{0, 0, -length * 0.7f}, 2, radius * 0.95f, radius * 0.95f, 10)},
            glow, 1, 1, true);
}

Attachment attach(int kind, Vec3 position, int styleIndex = -1, int gunIndex = -1)
{
    Attachment a;
    a.kind = kind;
    a.position = position;
    a.styleIndex = styleIndex;
    a.gunIndex = gunIndex;
    return a;
}

// An engine flame or a light sized for our ships, which are smaller than the templates assume.
Attachment sized(Attachment a, Vec3 size)
{
    a.size = size;
    return a;
}

Animation turning(std::int32_t period, float axisX, float axisY, float axisZ)
{
    Animation spin;
    spin.totalTime = period;
    spin.trigger = "always";
    for (int step = 0; step <= 4; ++step) {
        const float angle = 2 * Pi * static_cast<float>(step) / 4;
        spin.frames.push_back(
            {period * step / 4, {axisX * angle, axisY * angle, axisZ * angle}, {0, 0, 0}});
    }
    return spin;
}

// A turret: a flattened dome on the side `up` (-1 top, +1 belly) with barrels pointing
// forward.
void addTurret(Component& c, float radius, int barrels, float barrelLength, float up,
               std::uint32_t dome, std::uint32_t metal)
{
    addEllipsoid(c, {0, 0, 0}, {radius, radius * 0.55f, radius}, dome, 12, 6);
    for (int i = 0; i < barrels; ++i) {
        const float x =
            (static_cast<float>(i) - static_cast<float>(barrels - 1) / 2) * radius * 0.4f;
        addBarrel(c, {x, up * radius * 0.2f, radius * 0.6f}, barrelLength, radius * 0.09f, metal);
    }
}

} // namespace

Ship demoFighter()
{
    Component body;
    body.name = "Fuselage";
    body.role = 0;
    body.hitPoints = 400;
    body.hasDebris = true;
    body.debrisNumber = 4;
    const std::uint32_t hull = textureIndex(body, "fgt_hull");
    const std::uint32_t wing = textureIndex(body, "fgt_wing");
    const std::uint32_t metal = textureIndex(body, "gun_metal");
    const std::uint32_t engine = textureIndex(body, "fgt_engine");
    const std::uint32_t glow = textureIndex(body, "engine_glow");
    struct Section
    {
        float z, halfWidth, halfHeight;
    };
    const Section sections[] = {{64, 0.6f, 0.5f}, {50, 4.5f, 4},  {30, 8, 7},    {5, 10, 8.5f},
                                {-25, 10, 8.5f},  {-48, 8.5f, 7}, {-56, 7.5f, 6}};
    std::vector<std::vector<Vec3>> fuselage;
    for (const Section& s : sections)
        fuselage.push_back(ellipseRing({0, 0, s.z}, 2, s.halfWidth, s.halfHeight, 10));
    addLoft(body, fuselage, hull, 2, 3);
    for (const float side : {1.0f, -1.0f}) {
        addWing(body, side * 8, 14, -30, 3, side * 52, -18, -36, 1, 1, wing);
        addWing(body, side * 5, -38, -56, 1.6f, side * 20, -50, -60, 0.6f, -1, wing);
        addBarrel(body, {side * 20, 2, 2}, 20, 1, metal);
        addCuboid(body, {side * 32, 3.5f, -18}, {2, 3, 14}, metal); // missile pylon
        addNozzle(body, {side * 4.5f, 0, -54}, 9, 4, engine, glow);
    }
    // Tail fin: from the back of the fuselage up (towards -y).
    addLoft(body,
            {{{0, -6, -24}, {1.2f, -6, -40}, {0, -6, -56}, {-1.2f, -6, -40}},
             {{0, -26, -48}, {0.5f, -26, -53}, {0, -26, -60}, {-0.5f, -26, -53}}},
            wing, 1, 1);
    for (const float side : {1.0f, -1.0f}) {
        body.attachments.push_back(attach(0, {side * 32, 6, -18}));
        body.attachments.push_back(attach(3, {side * 20, 2, 23}, -1, 1 + (side > 0 ? 0 : 1)));
        body.attachments.push_back(attach(1, {side * 50, 1, -27}, 2));
        body.attachments.push_back(sized(attach(2, {side * 4.5f, 0, -64}), {9, 8, -30}));
        body.attachments.push_back(sized(attach(4, {side * 53, 1, -28}, side > 0 ? 1 : 3), {5, 5, 0}));
    }
    body.attachments.push_back(sized(attach(4, {0, -27, -58}, 5), {4, 4, 0}));
    body.boxes.push_back(boundingBox(body));
    body.block13On = true;

    Component cockpit;
    cockpit.name = "Cockpit";
    cockpit.role = 2;
    cockpit.origin = {0, -7, 24};
    cockpit.hitPoints = 150;
    addEllipsoid(cockpit, {0, 0, 0}, {5, 4.5f, 16}, textureIndex(cockpit, "fgt_canopy"), 12, 8);
    cockpit.attachments.push_back(sized(attach(4, {0, -4, -14}), {3, 3, 0}));
    cockpit.boxes.push_back(boundingBox(cockpit));
    // The dummy triangle closes the face list: its three corners are vertex 0.
    cockpit.faces.push_back(Face{});

    Component turret;
    turret.name = "Turret";
    turret.role = 3;
    turret.origin = {0, 8, -6};
    turret.hitPoints = 120;
    addTurret(turret, 6, 2, 14, 1, textureIndex(turret, "fgt_hull"),
              textureIndex(turret, "gun_metal"));
    for (const float side : {1.0f, -1.0f})
        turret.attachments.push_back(attach(3, {side * 1.2f, 1.2f, 18}, -1, 3));
    turret.boxes.push_back(boundingBox(turret));
    turret.animation = turning(4000, 0, 1, 0);
    turret.block14Count = 2;

    Ship ship;
    ship.shipClass = 0;
    ship.components = {body, cockpit, turret};
    return ship;
}

Ship demoCapitalShip()
{
    Component hull;
    hull.name = "Hull";
    hull.role = 1;
    hull.hitPoints = 20000;
    const std::uint32_t plating = textureIndex(hull, "cap_hull");
    const std::uint32_t deck = textureIndex(hull, "cap_deck");
    struct Section
    {
        float z, halfWidth, halfHeight, yCentre;
    };
    const Section sections[] = {{300, 6, 5, 6},    {250, 34, 18, 2},  {180, 52, 28, 0},
                                {-120, 60, 32, 0}, {-250, 56, 30, 0}, {-275, 44, 24, 0}};
    std::vector<std::vector<Vec3>> body;
    for (const Section& s : sections)
        body.push_back(ellipseRing({0, s.yCentre, s.z}, 2, s.halfWidth, s.halfHeight, 8));
    addLoft(hull, body, plating, 4, 10);
    // The flight deck along the top.
    addCuboid(hull, {0, -33, -40}, {70, 6, 300}, deck);
    for (const float side : {1.0f, -1.0f}) {
        addCuboid(hull, {side * 62, 0, -60}, {14, 20, 200}, plating); // side blisters
        hull.attachments.push_back(attach(0, {side * 70, 6, 40}));
        hull.attachments.push_back(attach(0, {side * 70, 6, -120}));
        hull.attachments.push_back(sized(attach(4, {side * 60, 0, 180}), {12, 12, 0}));
        hull.attachments.push_back(sized(attach(4, {side * 70, -10, -160}), {12, 12, 0}));
    }
    hull.attachments.push_back(sized(attach(4, {0, 0, 302}), {12, 12, 0}));
    hull.boxes.push_back(boundingBox(hull));
    hull.block13On = true;

    Component bridge;
    bridge.name = "Bridge";
    bridge.role = 1;
    bridge.origin = {0, -36, -150};
    bridge.hitPoints = 5000;
    const std::uint32_t tower = textureIndex(bridge, "cap_bridge");
    addCuboid(bridge, {0, -25, 0}, {36, 50, 60}, textureIndex(bridge, "cap_hull"));
    addCuboid(bridge, {0, -58, 6}, {64, 16, 34}, tower);
    bridge.attachments.push_back(sized(attach(4, {30, -66, 6}), {12, 12, 0}));
    bridge.attachments.push_back(sized(attach(4, {-30, -66, 6}), {12, 12, 0}));
    bridge.boxes.push_back(boundingBox(bridge));

    Component engines;
    engines.name = "Engines";
    engines.role = 1;
    engines.origin = {0, 0, -275};
    engines.hitPoints = 8000;
    const std::uint32_t bell = textureIndex(engines, "cap_engine");
    const std::uint32_t glow = textureIndex(engines, "engine_glow");
    for (const float x : {-32.0f, 0.0f, 32.0f}) {
        addNozzle(engines, {x, x == 0.0f ? -6.0f : 8.0f, 0}, 40, 17, bell, glow);
        engines.attachments.push_back(
            sized(attach(2, {x, x == 0.0f ? -6.0f : 8.0f, -45}, 6), {32, 32, -110}));
    }
    engines.boxes.push_back(boundingBox(engines));

    Component fore;
    fore.name = "TurretFore";
    fore.role = 1;
    fore.origin = {0, -34, 140};
    fore.hitPoints = 3000;
    addTurret(fore, 20, 3, 45, -1, textureIndex(fore, "cap_deck"), textureIndex(fore, "gun_metal"));
    for (const float x : {-8.0f, 0.0f, 8.0f})
        fore.attachments.push_back(attach(3, {x, -4, 58}, -1, 5));
    fore.attachments.push_back(attach(1, {0, -12, 0}, 6));
    fore.boxes.push_back(boundingBox(fore));
    fore.animation = turning(12000, 0, 1, 0);

    Component aft;
    aft.name = "TurretAft";
    aft.role = 1;
    aft.origin = {0, 32, -60};
    aft.hitPoints = 3000;
    addTurret(aft, 18, 2, 40, 1, textureIndex(aft, "cap_deck"), textureIndex(aft, "gun_metal"));
    for (const float x : {-4.0f, 4.0f})
        aft.attachments.push_back(attach(3, {x, 4, 52}, -1, 6));
    aft.boxes.push_back(boundingBox(aft));

    Component radar;
    radar.name = "Radar";
    radar.role = 1;
    radar.origin = {0, -102, -150};
    radar.hitPoints = 800;
    const std::uint32_t dish = textureIndex(radar, "radar_dish");
    addLoft(radar, {ellipseRing({0, 0, 0}, 1, 2, 2, 8), ellipseRing({0, -14, 0}, 1, 2, 2, 8)},
            textureIndex(radar, "gun_metal"), 1, 1);
    addLoft(radar,
            {ellipseRing({0, -14, 0}, 1, 3, 3, 16), ellipseRing({0, -22, 0}, 1, 22, 12, 16),
             ellipseRing({0, -24, 0}, 1, 24, 13, 16)},
            dish, 4, 1);
    radar.attachments.push_back(sized(attach(4, {0, -26, 0}), {12, 12, 0}));
    radar.boxes.push_back(boundingBox(radar));
    radar.animation = turning(6000, 0, 1, 0);
    radar.block14Count = 2;

    Component wreck;
    wreck.name = "Prow_dest";
    wreck.role = 1;
    wreck.origin = {0, 0, 250};
    wreck.hitPoints = 1;
    addLoft(wreck,
            {ellipseRing({0, 2, 0}, 2, 34, 18, 8), ellipseRing({4, 6, 30}, 2, 20, 10, 8),
             ellipseRing({-6, 10, 45}, 2, 8, 6, 8)},
            textureIndex(wreck, "cap_scorched"), 3, 2);
    wreck.boxes.push_back(boundingBox(wreck));

    Ship ship;
    ship.shipClass = 1;
    ship.components = {hull, bridge, engines, fore, aft, radar, wreck};
    return ship;
}

Ship demoCargoPod()
{
    Component pod;
    pod.name = "Container";
    pod.role = 0;
    pod.hitPoints = 250;
    addCuboid(pod, {0, 0, 0}, {40, 30, 80}, textureIndex(pod, "cargo_crate"));
    for (const float x : {-21.0f, 21.0f})
        for (const float z : {-41.0f, 41.0f})
            pod.attachments.push_back(sized(attach(4, {x, -16, z}), {12, 12, 0}));
    pod.boxes.push_back(boundingBox(pod));

    Ship ship;
    ship.shipClass = 0;
    ship.components = {pod};
    return ship;
}

std::vector<std::string> demoTextureNames()
{
    std::vector<std::string> names;
    for (const Ship& ship : {demoFighter(), demoCapitalShip(), demoCargoPod()})
        for (const Component& c : ship.components)
            for (const std::string& name : c.textures)
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(name);
    return names;
}

} // namespace shipmaker
