<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Sketch</name>
    <message>
        <location filename="../Sketch.cpp" line="59"/>
        <source>Not a name or formula of the table, nor a SMILES: %1</source>
        <translation>Такого названия и формулы нет в таблице, и это не SMILES: %1</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="60"/>
        <source>No molecule or ion of the table is called “%1”.</source>
        <translation>В таблице нет молекулы или иона с названием «%1».</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="70"/>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="76"/>
        <source>molecule</source>
        <translation>молекула</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="95"/>
        <location filename="../Sketch.cpp" line="101"/>
        <source>There is not enough memory for the picture.</source>
        <translation>Для рисунка не хватает памяти.</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="96"/>
        <source>The picture is too large to draw.</source>
        <translation>Рисунок слишком велик, его не нарисовать.</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="97"/>
        <source>The font cannot take this size or weight.</source>
        <translation>Шрифт не может быть такого размера или насыщенности.</translation>
    </message>
    <message>
        <location filename="../Sketch.cpp" line="98"/>
        <source>The picture cannot be drawn (%1).</source>
        <translation>Рисунок не получается нарисовать (%1).</translation>
    </message>
</context>
<context>
    <name>zembrel::MoleculeWindow</name>
    <message>
        <location filename="../MoleculeWindow.cpp" line="56"/>
        <source>&amp;Lewis: bonds as lines</source>
        <translation>&amp;Льюис: связи линиями</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="57"/>
        <source>&amp;Dots: every electron</source>
        <translation>&amp;Точки: все электроны</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="58"/>
        <source>&amp;Bars: lone pairs as bars</source>
        <translation>&amp;Чёрточки: пары чёрточками</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="69"/>
        <source>PNG picture, 288 dpi (*.png)</source>
        <translation>Рисунок PNG, 288 dpi (*.png)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="70"/>
        <source>SVG drawing (*.svg)</source>
        <translation>Рисунок SVG (*.svg)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="71"/>
        <source>BMP picture, 288 dpi (*.bmp)</source>
        <translation>Рисунок BMP, 288 dpi (*.bmp)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="81"/>
        <source>something other than a file is there</source>
        <translation>там не файл, а что-то другое</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="84"/>
        <source>there is no such folder</source>
        <translation>такой папки нет</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="86"/>
        <source>permission denied</source>
        <translation>нет прав на запись</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="87"/>
        <source>the disk is read-only</source>
        <translation>диск только для чтения</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="89"/>
        <source>the disk is full</source>
        <translation>на диске нет места</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="113"/>
        <source>&amp;Name, formula or SMILES:</source>
        <translation>&amp;Название, формула или SMILES:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="116"/>
        <source>water, ammonia, nitrate ion, H2O, NH4+, CO3 2-, CCO …</source>
        <translation>вода, аммиак, нитрат-ион, H2O, NH4+, CO3 2-, CCO …</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="117"/>
        <source>Name, formula or SMILES</source>
        <translation>Название, формула или SMILES</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="131"/>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="138"/>
        <location filename="../MoleculeWindow.cpp" line="144"/>
        <source>Picture</source>
        <translation>Рисунок</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="147"/>
        <source>Style</source>
        <translation>Вид</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="159"/>
        <source>Dot &amp;radius:</source>
        <translation>&amp;Радиус точек:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="166"/>
        <source>Dot radius</source>
        <translation>Радиус точек</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="169"/>
        <source>&amp;Font:</source>
        <translation>&amp;Шрифт:</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="172"/>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="176"/>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="178"/>
        <source>Copy the picture</source>
        <translation>Копировать рисунок</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="179"/>
        <source>The picture to the clipboard as PNG at 288 dpi and as SVG (Ctrl+C or Enter)</source>
        <translation>Рисунок в буфер обмена как PNG 288 dpi и как SVG (Ctrl+C или Enter)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="181"/>
        <source>&amp;Save as…</source>
        <translation>&amp;Сохранить как…</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="183"/>
        <source>Save the picture as a file</source>
        <translation>Сохранить рисунок в файл</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="184"/>
        <source>PNG or BMP at 288 dpi, or SVG (Ctrl+S)</source>
        <translation>PNG или BMP 288 dpi или SVG (Ctrl+S)</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="189"/>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="304"/>
        <source>Did you mean %1?</source>
        <translation>Может быть, %1?</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="304"/>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="325"/>
        <source>%1, %2 pt</source>
        <translation>%1, %2 пт</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="327"/>
        <source>, bold</source>
        <translation>, полужирный</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="329"/>
        <source>, italic</source>
        <translation>, курсив</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="357"/>
        <source>Nothing to copy: the input gives no picture.</source>
        <translation>Копировать нечего: по введённому рисунок не получается.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="362"/>
        <source>Copied: PNG at 288 dpi and SVG.</source>
        <translation>Скопировано: PNG 288 dpi и SVG.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="364"/>
        <location filename="../MoleculeWindow.cpp" line="366"/>
        <source>Cannot copy: %1</source>
        <translation>Не удалось скопировать: %1</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="368"/>
        <source>Cannot copy: there is not enough memory for the picture.</source>
        <translation>Не удалось скопировать: для рисунка не хватает памяти.</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="410"/>
        <location filename="../MoleculeWindow.cpp" line="413"/>
        <location filename="../MoleculeWindow.cpp" line="419"/>
        <source>Cannot save “%1”: %2</source>
        <translation>Не удалось сохранить «%1»: %2</translation>
    </message>
    <message>
        <location filename="../MoleculeWindow.cpp" line="422"/>
        <source>Saved: %1</source>
        <translation>Сохранено: %1</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="58"/>
        <source>Zembrel: molecules and ions</source>
        <translation>Зембрель: молекулы и ионы</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="61"/>
        <source>A window that draws the electron-dot pictures of molecules and ions: type a name, a formula or a SMILES, choose the style, and copy the picture into a document.</source>
        <translation>Окно, в котором рисуются электронно-точечные формулы молекул и ионов: введите название, формулу или SMILES, выберите вид и скопируйте рисунок в документ.</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="66"/>
        <source>input</source>
        <translation>ввод</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="67"/>
        <source>A name, a formula or a SMILES to start with.</source>
        <translation>Название, формула или SMILES, с которых начать.</translation>
    </message>
    <message>
        <location filename="../../molecules-app/main.cpp" line="68"/>
        <source>[input]</source>
        <translation>[ввод]</translation>
    </message>
</context>
<context>
    <name>zembrel::WindowDialogs</name>
    <message>
        <location filename="../WindowDialogs.cpp" line="30"/>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <location filename="../WindowDialogs.cpp" line="39"/>
        <source>Save the picture</source>
        <translation>Сохранить рисунок</translation>
    </message>
</context>
</TS>
