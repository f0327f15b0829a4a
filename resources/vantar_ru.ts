<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="en">
<context>
    <name>AScanFile</name>
    <message>
        <source>Couldn&apos;t read signal file &quot;%1&quot;!</source>
        <translation>Не удалось прочитать файл сигнала &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>The signal file &quot;%1&quot; does not exist!</source>
        <translation>Файл сигнала &quot;%1&quot; не существует!</translation>
    </message>
    <message>
        <source>The signal file &quot;%1&quot; is too short!</source>
        <translation>Файл сигнала &quot;%1&quot; слишком короткий!</translation>
    </message>
    <message>
        <source>No A-scan file was given!</source>
        <translation>Файл А-скана не указан!</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is not a usable A-scan file!</source>
        <translation>Файл &quot;%1&quot; не является пригодным файлом А-скана!</translation>
    </message>
</context>
<context>
    <name>AScanGenerator</name>
    <message>
        <source>Couldn&apos;t write file &quot;%1&quot;!</source>
        <translation>Не удалось записать файл &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>Couldn&apos;t create folder &quot;%1&quot;!</source>
        <translation>Не удалось создать папку &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Остановлено.</translation>
    </message>
</context>
<context>
    <name>AScanReport</name>
    <message>
        <source>Probe type</source>
        <translation>Тип преобразователя</translation>
    </message>
    <message>
        <source>Operating frequency, KHz</source>
        <translation>Рабочая частота, кГц</translation>
    </message>
    <message>
        <source>Delay, µs</source>
        <translation>Задержка, мкс</translation>
    </message>
    <message>
        <source>Gain, dB</source>
        <translation>Усиление, дБ</translation>
    </message>
    <message>
        <source>Pulse voltage, V</source>
        <translation>Амплитуда импульса, В</translation>
    </message>
    <message>
        <source>Period number</source>
        <translation>Число периодов</translation>
    </message>
    <message>
        <source>Pulse repetition rate, Hz</source>
        <translation>Частота повторения импульсов, Гц</translation>
    </message>
    <message>
        <source>Averaging, quantity</source>
        <translation>Накопление, количество</translation>
    </message>
    <message>
        <source>Velocity, m/s</source>
        <translation>Скорость, м/с</translation>
    </message>
    <message>
        <source>Base, mm</source>
        <translation>База, мм</translation>
    </message>
    <message>
        <source>TGV</source>
        <translation>ВРЧ</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Шкала</translation>
    </message>
    <message>
        <source>Readings discreteness</source>
        <translation>Дискретность показаний</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Курсор</translation>
    </message>
    <message>
        <source>Input signals filter</source>
        <translation>Фильтр входных сигналов</translation>
    </message>
    <message>
        <source>Testing method</source>
        <translation>Метод контроля</translation>
    </message>
</context>
<context>
    <name>CDataManager</name>
    <message>
        <source>A-Scan</source>
        <translation>А-скан</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Карта</translation>
    </message>
    <message>
        <source>Memory exhausted!</source>
        <translation>Недостаточно памяти!</translation>
    </message>
    <message>
        <source>About </source>
        <translation>О программе </translation>
    </message>
    <message>
        <source> Version %1.%2</source>
        <translation> Версия %1.%2</translation>
    </message>
    <message>
        <source>Norvik Software</source>
        <translation>Norvik Software</translation>
    </message>
    <message>
        <source>Software for ultrasonic inspection instruments</source>
        <translation>Программы для приборов ультразвукового контроля</translation>
    </message>
    <message>
        <source>Viewing, reconstruction and reporting of test data</source>
        <translation>Просмотр, реконструкция и документирование данных контроля</translation>
    </message>
    <message>
        <source>Thank you for using our products!</source>
        <translation>Благодарим вас за выбор нашей продукции!</translation>
    </message>
</context>
<context>
    <name>CHelpViewer</name>
    <message>
        <source>Vantar 4.0 Help</source>
        <translation>Справка Vantar 4.0</translation>
    </message>
</context>
<context>
    <name>CMapScans</name>
    <message>
        <source>Couldn&apos;t read file &quot;</source>
        <translation>Не удалось прочитать файл &quot;</translation>
    </message>
    <message>
        <source>Couldn&apos;t save comments to file &quot;</source>
        <translation>Не удалось сохранить комментарии в файл &quot;</translation>
    </message>
</context>
<context>
    <name>CMapSettings</name>
    <message>
        <source>Map Viewing Settings</source>
        <translation>Настройки просмотра карты</translation>
    </message>
    <message>
        <source>Instrument Settings</source>
        <translation>Параметры прибора</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Комментарии</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл</translation>
    </message>
    <message>
        <source>Horizontal step, mm</source>
        <translation>Шаг по горизонтали, мм</translation>
    </message>
    <message>
        <source>Vertical step, mm</source>
        <translation>Шаг по вертикали, мм</translation>
    </message>
    <message>
        <source>Horizontal size (points)</source>
        <translation>Размер по горизонтали (точки)</translation>
    </message>
    <message>
        <source>Vertical size (points)</source>
        <translation>Размер по вертикали (точки)</translation>
    </message>
    <message>
        <source>Probe type</source>
        <translation>Тип преобразователя</translation>
    </message>
    <message>
        <source>Operating frequency, KHz</source>
        <translation>Рабочая частота, кГц</translation>
    </message>
    <message>
        <source>Delay, µs</source>
        <translation>Задержка, мкс</translation>
    </message>
    <message>
        <source>Gain, dB</source>
        <translation>Усиление, дБ</translation>
    </message>
    <message>
        <source>Pulse voltage, V</source>
        <translation>Амплитуда импульса, В</translation>
    </message>
    <message>
        <source>Period number</source>
        <translation>Число периодов</translation>
    </message>
    <message>
        <source>Pulse repetition rate, Hz</source>
        <translation>Частота повторения, Гц</translation>
    </message>
    <message>
        <source>Averaging, quantity</source>
        <translation>Накопление, количество</translation>
    </message>
    <message>
        <source>Velocity, m/s</source>
        <translation>Скорость, м/с</translation>
    </message>
    <message>
        <source>Base, mm</source>
        <translation>База, мм</translation>
    </message>
    <message>
        <source>TGV</source>
        <translation>ВРЧ</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Шкала</translation>
    </message>
    <message>
        <source>Readings discreteness</source>
        <translation>Дискретность показаний</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Курсор</translation>
    </message>
    <message>
        <source>Input signals filter</source>
        <translation>Фильтр входных сигналов</translation>
    </message>
    <message>
        <source>Testing method</source>
        <translation>Метод контроля</translation>
    </message>
    <message>
        <source>Sampling rate, MHz</source>
        <translation>Частота дискретизации, МГц</translation>
    </message>
</context>
<context>
    <name>CReportPrinter</name>
    <message>
        <source>Couldn&apos;t print the report!</source>
        <translation>Не удалось напечатать отчёт!</translation>
    </message>
    <message>
        <source>Couldn&apos;t print the report on </source>
        <translation>Не удалось напечатать отчёт на </translation>
    </message>
</context>
<context>
    <name>CWgtSAFTparam</name>
    <message>
        <source>Processing Settings</source>
        <translation>Параметры обработки</translation>
    </message>
    <message>
        <source>Depth, mm</source>
        <translation>Глубина, мм</translation>
    </message>
    <message>
        <source>Velocity, m/s</source>
        <translation>Скорость, м/с</translation>
    </message>
    <message>
        <source>Frequency, KHz</source>
        <translation>Частота, кГц</translation>
    </message>
    <message>
        <source>Bandwidth, %</source>
        <translation>Полоса, %</translation>
    </message>
    <message>
        <source>TCG, dB/m</source>
        <translation>ВРЧ, дБ/м</translation>
    </message>
    <message>
        <source>Filter SW</source>
        <translation>Фильтр ОС</translation>
    </message>
    <message>
        <source>SAFT</source>
        <translation>SAFT</translation>
    </message>
    <message>
        <source>Execute</source>
        <translation>Выполнить</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Сброс</translation>
    </message>
</context>
<context>
    <name>CWgtScrollBars</name>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>D</source>
        <translation>D</translation>
    </message>
</context>
<context>
    <name>CWgtSliderControl</name>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>D</source>
        <translation>D</translation>
    </message>
</context>
<context>
    <name>CWinDataTempl</name>
    <message>
        <source>Open File</source>
        <translation>Открыть файл</translation>
    </message>
    <message>
        <source>Save Selected Files</source>
        <translation>Сохранить выбранные файлы</translation>
    </message>
    <message>
        <source>Print Selected Files</source>
        <translation>Печать выбранных файлов</translation>
    </message>
    <message>
        <source>Viewing Mode &quot;Limits&quot;</source>
        <translation>Режим просмотра «Границы»</translation>
    </message>
    <message>
        <source>Anomalous Zone Selection</source>
        <translation>Выделение аномальной зоны</translation>
    </message>
    <message>
        <source>Enter Scans Dragging Mode</source>
        <translation>Режим перемещения сканов</translation>
    </message>
    <message>
        <source>Map Settings</source>
        <translation>Настройки карты</translation>
    </message>
    <message>
        <source>Reset Scan View</source>
        <translation>Сбросить вид сканов</translation>
    </message>
    <message>
        <source>Change Current Language</source>
        <translation>Сменить язык интерфейса</translation>
    </message>
    <message>
        <source>View Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>About Program</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Английский</translation>
    </message>
    <message>
        <source>Data Saving</source>
        <translation>Сохранение данных</translation>
    </message>
    <message>
        <source>Data saving progress:</source>
        <translation>Ход сохранения данных:</translation>
    </message>
    <message>
        <source>Select Folder To Save Data</source>
        <translation>Выберите папку для сохранения данных</translation>
    </message>
    <message>
        <source>Data couldn&apos;t be saved to the device!</source>
        <translation>Данные нельзя сохранить на прибор!</translation>
    </message>
    <message>
        <source>The files you&apos;re trying to save already exist!
Do you want to rewrite them?</source>
        <translation>Сохраняемые файлы уже существуют!
Перезаписать их?</translation>
    </message>
    <message>
        <source>The file &quot;</source>
        <translation>Файл &quot;</translation>
    </message>
    <message>
        <source>&quot; already exists!
Do you want to rewrite it?</source>
        <translation>&quot; уже существует!
Перезаписать его?</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file &quot;</source>
        <translation>Не удалось удалить файл &quot;</translation>
    </message>
    <message>
        <source>&quot;!</source>
        <translation>&quot;!</translation>
    </message>
    <message>
        <source>Unable to save data!</source>
        <translation>Не удалось сохранить данные!</translation>
    </message>
    <message>
        <source>A-scans (*.bmp)</source>
        <translation>А-сканы (*.bmp)</translation>
    </message>
    <message>
        <source>Configuration File (*.cfg)</source>
        <translation>Файл конфигурации (*.cfg)</translation>
    </message>
</context>
<context>
    <name>ConfigSettings</name>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>single</source>
        <translation>совмещённый</translation>
    </message>
    <message>
        <source>double</source>
        <translation>раздельно-совмещённый</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <source>200</source>
        <translation>200</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Вкл</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>мм</translation>
    </message>
    <message>
        <source>µs</source>
        <translation>мкс</translation>
    </message>
    <message>
        <source>0.1</source>
        <translation>0.1</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Reflection</source>
        <translation>Отражение</translation>
    </message>
    <message>
        <source>Transmission</source>
        <translation>Прохождение</translation>
    </message>
    <message>
        <source>Couldn&apos;t save changed configuration to file &quot;%1&quot;!</source>
        <translation>Не удалось сохранить изменённые настройки в файл &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>Couldn&apos;t read configuration file &quot;%1&quot;!</source>
        <translation>Не удалось прочитать файл настроек &quot;%1&quot;!</translation>
    </message>
</context>
<context>
    <name>MapConfig</name>
    <message numerus="yes">
        <source>The configuration file holds only %n byte(s); it is not a map&apos;s configuration.</source>
        <translation>
            <numerusform>Файл конфигурации содержит всего %n байт; это не конфигурация карты.</numerusform>
            <numerusform>Файл конфигурации содержит всего %n байта; это не конфигурация карты.</numerusform>
            <numerusform>Файл конфигурации содержит всего %n байт; это не конфигурация карты.</numerusform>
        </translation>
    </message>
    <message>
        <source>The configuration file was not written by the instrument (signature &quot;%1&quot; instead of &quot;%2&quot;); the map is not opened.</source>
        <translation>Файл конфигурации записан не прибором (сигнатура &quot;%1&quot; вместо &quot;%2&quot;); карта не открыта.</translation>
    </message>
    <message>
        <source>Couldn&apos;t open the configuration file &quot;%1&quot;: %2</source>
        <translation>Не удалось открыть файл конфигурации &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>MapFolder</name>
    <message>
        <source>The map folder &quot;%1&quot; cannot be read.</source>
        <translation>Не удаётся прочитать папку карты &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The map has %1 signal files; their signals need %2 MB of memory, more than the %3 MB that a map may take.</source>
        <translation>В карте %1 файлов сигналов; для их сигналов нужно %2 МБ памяти, а карте разрешено не более %3 МБ.</translation>
    </message>
</context>
<context>
    <name>MapGenerator</name>
    <message>
        <source>Couldn&apos;t write &quot;%1&quot;: %2</source>
        <translation>Не удалось записать &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>The map needs 1 … %1 columns and rows.</source>
        <translation>Число столбцов и строк карты должно быть от 1 до %1.</translation>
    </message>
    <message>
        <source>The probe steps must be 1 … 65535 mm.</source>
        <translation>Шаги датчика должны быть от 1 до 65535 мм.</translation>
    </message>
    <message>
        <source>The velocity must be 500 … 15000 m/s and the frequency 1 … 255 kHz.</source>
        <translation>Скорость должна быть от 500 до 15000 м/с, а частота — от 1 до 255 кГц.</translation>
    </message>
    <message>
        <source>The map&apos;s file name &quot;%1&quot; cannot be used.</source>
        <translation>Имя файла карты &quot;%1&quot; использовать нельзя.</translation>
    </message>
    <message>
        <source>Couldn&apos;t make the folder &quot;%1&quot;.</source>
        <translation>Не удалось создать папку &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>MapReport</name>
    <message>
        <source>Map Name: </source>
        <translation>Имя карты: </translation>
    </message>
    <message>
        <source>Horizontal step, mm</source>
        <translation>Шаг по горизонтали, мм</translation>
    </message>
    <message>
        <source>Vertical step, mm</source>
        <translation>Шаг по вертикали, мм</translation>
    </message>
    <message>
        <source>Horizontal size (points)</source>
        <translation>Размер по горизонтали (точки)</translation>
    </message>
    <message>
        <source>Vertical size (points)</source>
        <translation>Размер по вертикали (точки)</translation>
    </message>
    <message>
        <source>Probe type</source>
        <translation>Тип преобразователя</translation>
    </message>
    <message>
        <source>Operating frequency, KHz</source>
        <translation>Рабочая частота, кГц</translation>
    </message>
    <message>
        <source>Delay, µs</source>
        <translation>Задержка, мкс</translation>
    </message>
    <message>
        <source>Gain, dB</source>
        <translation>Усиление, дБ</translation>
    </message>
    <message>
        <source>Pulse voltage, V</source>
        <translation>Амплитуда импульса, В</translation>
    </message>
    <message>
        <source>Period number</source>
        <translation>Число периодов</translation>
    </message>
    <message>
        <source>Repetition rate, Hz</source>
        <translation>Частота повторения, Гц</translation>
    </message>
    <message>
        <source>Accumulation</source>
        <translation>Накопление</translation>
    </message>
    <message>
        <source>Velocity, m/s</source>
        <translation>Скорость, м/с</translation>
    </message>
    <message>
        <source>Base, mm</source>
        <translation>База, мм</translation>
    </message>
    <message>
        <source>TGV</source>
        <translation>ВРЧ</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Шкала</translation>
    </message>
    <message>
        <source>Readings discreteness</source>
        <translation>Дискретность показаний</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Курсор</translation>
    </message>
    <message>
        <source>Input signals filter</source>
        <translation>Фильтр входных сигналов</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Комментарии</translation>
    </message>
</context>
<context>
    <name>MapVolumeGrid</name>
    <message>
        <source>The map&apos;s volume of %1 × %2 × %3 cells needs %4 MB of memory, more than the %5 MB that a map may take.</source>
        <translation>Для объёма карты из %1 × %2 × %3 ячеек нужно %4 МБ памяти, а карте разрешено не более %5 МБ.</translation>
    </message>
</context>
<context>
    <name>ReportHtml</name>
    <message>
        <source>Instrument Settings</source>
        <translation>Параметры прибора</translation>
    </message>
    <message>
        <source>Couldn&apos;t create temporary file </source>
        <translation>Не удалось создать временный файл </translation>
    </message>
</context>
</TS>
