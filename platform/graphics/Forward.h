#pragma once

namespace graphics {

class Canvas;
class Font;
class Image;
class TextLayout;
class TextMeasurementCache;
enum class ContentMode;
enum class CornerStyle;
enum class FontWeight;
enum class TextAlignment;
struct Color;
struct FontRun;
struct Pixel;
struct Point;
struct Rect;
struct RoundedRect;
struct Size;
struct TextMetrics;
struct TextRange;

} // namespace graphics
