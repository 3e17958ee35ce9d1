#include "render/Renderer.h"

#include <allegro.h>
#include <alleggl.h>

#include <malloc.h>

#include <cstdlib>
#include <string>

#include "core/DataPaths.h"
#include "render/Screen.h"
#include "sprites/PictureCheck.h"

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {

const int GlyphCells = 256;
const int LifeSymbolCell = 127;
const int FirstCode = 32;
const int LastCode = 127;
// Far more than a frame's worth of the software renderer's bookkeeping, which grows by about 32 KB
// at every change of texture: some 600 changes, 19 MB, in a frame of the shipped level.
const int KeptHeapBytes = 256 * 1024 * 1024;

bool shownCode(char c)
{
    signed char code = static_cast<signed char>(c);
    return code >= FirstCode && code <= LastCode;
}

void setFilter(bool linear)
{
    GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

}

Renderer::Renderer() : filterTextures(false), fontTexture(0), fontListBase(0) {}

Renderer::~Renderer() {}

int Renderer::setupDisplay()
{
#ifdef M_TRIM_THRESHOLD
    // Mesa's llvmpipe frees that bookkeeping once it has drawn the frame; by default glibc hands most
    // of it back to the kernel at once, and taking it again costs a page fault every 4 KB: under
    // Mesa 25 that was nine tenths of the frame. The heap keeps it for the next frame instead.
    mallopt(M_TRIM_THRESHOLD, KeptHeapBytes);
#endif
    install_allegro_gl();
    allegro_gl_clear_settings();
    allegro_gl_set(AGL_COLOR_DEPTH, 32);
    allegro_gl_set(AGL_DOUBLEBUFFER, 1);
    allegro_gl_set(AGL_RENDERMETHOD, 1);
    allegro_gl_set(AGL_FULLSCREEN, get_config_int("engineparams", "fullScreen", 1));
    allegro_gl_set(AGL_SUGGEST, AGL_COLOR_DEPTH | AGL_DOUBLEBUFFER | AGL_Z_DEPTH | AGL_RENDERMETHOD | AGL_FULLSCREEN);
    set_color_depth(32);

    int width = get_config_int("engineparams", "screenwidth", ScreenWidth);
    int height = get_config_int("engineparams", "screenheight", ScreenHeight);
    if (set_gfx_mode(GFX_OPENGL, width, height, 0, 0) != 0) {
        allegro_message("Unable to set screen mode: %s", allegro_error);
        exit(-1);
    }

    filterTextures = get_config_int("engineparams", "textureFiltering", 1) != 0;

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT, GL_FILL);
    glViewport(0, 0, SCREEN_W, SCREEN_H);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, ScreenWidth, 0.0, ScreenHeight, -1.0, 1.0);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glMatrixMode(GL_MODELVIEW);

    buildFont();
    return 0;
}

void Renderer::buildFont()
{
    BITMAP* picture = PictureCheck::isLoadable(DataPaths::Font) ? load_bitmap(DataPaths::Font, nullptr) : nullptr;
    if (!picture)
        return;

    fontTexture = allegro_gl_make_masked_texture(picture);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    setFilter(filterTextures);
    destroy_bitmap(picture);

    fontListBase = glGenLists(GlyphCells);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    for (int cell = 0; cell < GlyphCells; ++cell) {
        float s0 = (cell % 16) * 0.0625f;
        float s1 = s0 + 0.0625f;
        float t1 = 1.0f - (cell / 16) * 0.0625f;
        float t0 = t1 - 0.0625f;
        glNewList(fontListBase + cell, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(s0, t0);
        glVertex2i(0, 0);
        glTexCoord2f(s1, t0);
        glVertex2i(16, 0);
        glTexCoord2f(s1, t1);
        glVertex2i(16, 16);
        glTexCoord2f(s0, t1);
        glVertex2i(0, 16);
        glEnd();
        glTranslated(cell < 128 ? 5.0 : 7.0, 0.0, 0.0);
        glEndList();
    }
}

void Renderer::beginFrame()
{
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, static_cast<float>(ScreenHeight), 0.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Renderer::endFrame()
{
    glBlendFunc(GL_ONE, GL_ZERO);
    allegro_gl_flip();
}

uint32_t Renderer::makeTexture(BITMAP* bitmap)
{
    GLuint texture = allegro_gl_make_masked_texture(bitmap);
    if (texture != 0) {
        glBindTexture(GL_TEXTURE_2D, texture);
        setFilter(filterTextures);
    }
    return texture;
}

void Renderer::drawQuad(double x, double y, int width, int height, uint32_t texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_QUADS);
    glTexCoord2d(0.0, 0.0);
    glVertex2d(x, -y - height);
    glTexCoord2d(1.0, 0.0);
    glVertex2d(x + width, -y - height);
    glTexCoord2d(1.0, 1.0);
    glVertex2d(x + width, -y);
    glTexCoord2d(0.0, 1.0);
    glVertex2d(x, -y);
    glEnd();
}

void Renderer::drawText(const char* text, float x, float y, signed char characterSet)
{
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (fontListBase == 0 || !text || (characterSet != 0 && characterSet != 1))
        return;

    // Codes outside 32..127 would call lists of other cells or of no font at all:
    // they are left out.
    size_t length = 0;
    bool allShown = true;
    for (const char* c = text; *c; ++c, ++length)
        allShown = allShown && shownCode(*c);
    std::string shown;
    if (!allShown) {
        for (const char* c = text; *c; ++c)
            if (shownCode(*c))
                shown += *c;
        text = shown.c_str();
        length = shown.size();
    }
    if (length == 0)
        return;

    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glPushMatrix();
    glTranslated(x, y - ScreenHeight, 0.0);
    glListBase(characterSet * 128 + fontListBase - FirstCode);
    glCallLists(static_cast<GLsizei>(length), GL_BYTE, text);
    glPopMatrix();
}

void Renderer::drawLives(int count)
{
    if (fontListBase == 0 || count <= 0)
        return;
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glPushMatrix();
    glTranslated(270.0, -224.0, 0.0);
    for (int i = 0; i < count; ++i) {
        glCallList(fontListBase + LifeSymbolCell);
        glTranslated(2.0, 0.0, 0.0);
    }
    glPopMatrix();
}

void Renderer::setColor(float red, float green, float blue, float alpha)
{
    glColor4f(red, green, blue, alpha);
}

void Renderer::alert(const char* line1, const char* line2, const char* line3, const char* button)
{
    algl_alert(line1, line2, line3, button, nullptr, -1, -1);
}

int Renderer::screenHeight() const
{
    return SCREEN_H;
}
