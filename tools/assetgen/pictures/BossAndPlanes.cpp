// The boss (a fortress tank keyed on white, facing down towards the players) and the help plane, a jet
// flying right whose four frames flicker its afterburner and navigation lights.

#include <cmath>
#include <numbers>

#include "Pictures.h"

namespace vorlanex::assetgen {

namespace {

TankDesign BossDesign()
{
    TankDesign d;
    d.body = Rgb(150, 34, 44);
    d.hullHalf = 10, d.treadWidth = 5, d.top = 1, d.bottom = 31;
    d.turretRadius = 9, d.turretSides = 8, d.turretY = 17;
    d.barrelWidth = 2.2, d.barrels = 3, d.barrelTop = 0.5;
    return d;
}

// A glowing core on the turret marks the boss at a glance, whatever its look.
void PaintCore(Canvas& frame, int phase)
{
    frame.Fill(Circle(16, 15, 3.2), Rgb(40, 12, 12));
    frame.Fill(Circle(16, 15, 2.4), phase == 0 ? Rgb(255, 140, 30) : Rgb(255, 200, 60));
    frame.Fill(Circle(15.5, 14.5, 1.0), Rgb(255, 236, 170));
}

Canvas DrawBoss()
{
    const TankLook looks[] = {TankLook::Intact, TankLook::Intact, TankLook::Damaged, TankLook::Shielded, TankLook::Shielded};
    const int phases[] = {0, 1, 0, 0, 1};
    std::vector<Canvas> frames;
    for (int i = 0; i < 5; ++i)
    {
        Canvas frame = DrawTank(BossDesign(), phases[i], looks[i]).Rotated(2);
        PaintCore(frame, phases[i]);
        frames.push_back(std::move(frame));
    }
    return Strip(frames, true);
}

void PaintAirframe(Canvas& c)
{
    const Colour skin = Rgb(150, 168, 190), dark = Rgb(82, 94, 112);
    auto lit = [skin](double, double y) { return Scale(skin, 1.2 - 0.4 * std::abs(y - 16) / 16); };
    // Swept wings and tail planes under the fuselage.
    c.Fill(Polygon({{30, 14}, {19, 1.5}, {14.5, 1.5}, {19, 14}}), dark);
    c.Fill(Polygon({{30, 18}, {19, 30.5}, {14.5, 30.5}, {19, 18}}), dark);
    c.Fill(Polygon({{29, 14.5}, {19.5, 3}, {16.5, 3}, {20, 14.5}}), lit);
    c.Fill(Polygon({{29, 17.5}, {19.5, 29}, {16.5, 29}, {20, 17.5}}), lit);
    c.Fill(Polygon({{11, 14}, {5, 7}, {3, 7}, {5, 14}}), lit);
    c.Fill(Polygon({{11, 18}, {5, 25}, {3, 25}, {5, 18}}), lit);
    // Fuselage with a pointed nose.
    c.Fill(Polygon({{4, 13.5}, {36, 13}, {46.5, 16}, {36, 19}, {4, 18.5}}), lit);
    c.Fill(RectShape(6, 15.5, 40, 16.5), Scale(skin, 0.7));
    c.Fill(Ellipse(35, 16, 4.5, 1.8), Rgb(60, 150, 220));
    c.Fill(Ellipse(36, 15.4, 2, 0.7), Rgb(190, 235, 255));
    // Roundels on the wings.
    for (double y : {7.5, 24.5})
    {
        c.Fill(Circle(20.5, y, 2.2), Rgb(226, 182, 46));
        c.Fill(Circle(20.5, y, 1.0), Rgb(180, 40, 36));
    }
}

Canvas DrawPlaneFrame(int frame)
{
    Canvas c(48, 32);
    const double flame[] = {4.0, 6.0, 4.8, 6.8};
    const double len = flame[frame];
    c.Fill(Polygon({{4, 14}, {4 - len, 16}, {4, 18}}), Rgb(255, 120, 30));
    c.Fill(Polygon({{4, 15}, {4 - len * 0.6, 16}, {4, 17}}), Rgb(255, 230, 120));
    PaintAirframe(c);
    c.Outline(kInk);
    const bool lightsOn = frame % 2 == 0;
    c.Fill(Circle(16, 2.5, 1.1), lightsOn ? Rgb(255, 60, 60) : Rgb(120, 30, 30));
    c.Fill(Circle(16, 29.5, 1.1), lightsOn ? Rgb(80, 255, 120) : Rgb(30, 110, 50));
    return c;
}

}  // namespace

void AddBossAndPlanePictures(PictureBook& book)
{
    book["EnemyBoss"] = DrawBoss();
    std::vector<Canvas> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(DrawPlaneFrame(i));
    book["HelpPlane"] = Strip(frames, true);
}

}  // namespace vorlanex::assetgen
