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
    <name>CAScanFrame</name>
    <message>
        <source>Set Cursor To Maximum</source>
        <translation>Установить курсор на максимум</translation>
    </message>
</context>
<context>
    <name>CAScanWgt</name>
    <message>
        <source>Strobe Operation</source>
        <translation>Работа строба</translation>
    </message>
    <message>
        <source>Type of Monitor Response Selection</source>
        <translation>Выбор типа срабатывания АСД</translation>
    </message>
    <message>
        <source>Type of Mapping Signals Selection</source>
        <translation>Выбор типа отображения сигналов</translation>
    </message>
    <message>
        <source>On/Off Switching of &quot;Loop&quot; Mode</source>
        <translation>Включение/выключение режима «Лупа»</translation>
    </message>
    <message>
        <source>Time Base Adjustment</source>
        <translation>Настройка развёртки</translation>
    </message>
    <message>
        <source>Reset Adjustment</source>
        <translation>Сбросить настройки</translation>
    </message>
    <message>
        <source>kHz</source>
        <translation>кГц</translation>
    </message>
    <message>
        <source>µs</source>
        <translation>мкс</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>мм</translation>
    </message>
    <message>
        <source>T, µs</source>
        <translation>T, мкс</translation>
    </message>
    <message>
        <source>V, m/s</source>
        <translation>V, м/с</translation>
    </message>
    <message>
        <source>Z, mm</source>
        <translation>Z, мм</translation>
    </message>
    <message>
        <source>A, dB</source>
        <translation>A, дБ</translation>
    </message>
    <message>
        <source>X1</source>
        <translation>X1</translation>
    </message>
    <message>
        <source>X2</source>
        <translation>X2</translation>
    </message>
</context>
<context>
    <name>CColorScale</name>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
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
    <name>CIndicationsWindow</name>
    <message>
        <source>Indications</source>
        <translation>Индикации</translation>
    </message>
    <message>
        <source>Find Indications</source>
        <translation>Найти индикации</translation>
    </message>
    <message>
        <source>Find the indications of the volume shown, strongest first</source>
        <translation>Найти индикации в показанном объёме, начиная с самой сильной</translation>
    </message>
    <message>
        <source>Add at Box Maximum</source>
        <translation>Добавить в максимуме области</translation>
    </message>
    <message>
        <source>Add at Cursor</source>
        <translation>Добавить у курсора</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Экспорт CSV...</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Метка</translation>
    </message>
    <message>
        <source>X, mm</source>
        <translation>X, мм</translation>
    </message>
    <message>
        <source>Y, mm</source>
        <translation>Y, мм</translation>
    </message>
    <message>
        <source>Z, mm</source>
        <translation>Z, мм</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <source>Size X, mm</source>
        <translation>Размер X, мм</translation>
    </message>
    <message>
        <source>Size Y, mm</source>
        <translation>Размер Y, мм</translation>
    </message>
    <message>
        <source>Size Z, mm</source>
        <translation>Размер Z, мм</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Комментарий</translation>
    </message>
    <message>
        <source>Indications found: %1, the strongest of more.</source>
        <translation>Найдено индикаций: %1, самые сильные из большего числа.</translation>
    </message>
    <message>
        <source>Indications found: %1.</source>
        <translation>Найдено индикаций: %1.</translation>
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
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Яркость</translation>
    </message>
    <message>
        <source>Drag the marker to set the threshold; double-click to set the brightness so that the brightest value shown reaches the top colour</source>
        <translation>Перетащите метку, чтобы задать порог; двойной щелчок задаёт яркость, при которой самое яркое из показанных значений достигает верхнего цвета</translation>
    </message>
    <message>
        <source>The depth must give at least two depth layers.</source>
        <translation>Глубина должна давать не менее двух слоёв.</translation>
    </message>
    <message>
        <source>The volume could not be built.</source>
        <translation>Не удалось построить объём.</translation>
    </message>
    <message>
        <source>Map&apos;s viewing settings and comments were changed.
Do you want to save them?</source>
        <translation>Настройки просмотра и комментарии к карте изменены.
Сохранить их?</translation>
    </message>
    <message>
        <source>Map&apos;s viewing settings were changed. Do you want to save them?</source>
        <translation>Настройки просмотра карты изменены. Сохранить их?</translation>
    </message>
    <message>
        <source>Map&apos;s comments were changed. Do you want to save them?</source>
        <translation>Комментарии к карте изменены. Сохранить их?</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file </source>
        <translation>Не удалось удалить файл </translation>
    </message>
    <message>
        <source>Map Name: </source>
        <translation>Имя карты: </translation>
    </message>
    <message>
        <source>Indications</source>
        <translation>Индикации</translation>
    </message>
    <message>
        <source>There is not enough memory to search the volume.</source>
        <translation>Недостаточно памяти для поиска в объёме.</translation>
    </message>
    <message>
        <source>Export Indications</source>
        <translation>Экспорт индикаций</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>Map&apos;s viewing settings, comments and indications were changed.
Do you want to save them?</source>
        <translation>Настройки просмотра, комментарии и индикации карты были изменены.
Сохранить их?</translation>
    </message>
    <message>
        <source>Map&apos;s viewing settings and indications were changed.
Do you want to save them?</source>
        <translation>Настройки просмотра и индикации карты были изменены.
Сохранить их?</translation>
    </message>
    <message>
        <source>Map&apos;s comments and indications were changed.
Do you want to save them?</source>
        <translation>Комментарии и индикации карты были изменены.
Сохранить их?</translation>
    </message>
    <message>
        <source>Map&apos;s indications were changed. Do you want to save them?</source>
        <translation>Индикации карты были изменены. Сохранить их?</translation>
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
    <name>CScanogrammFrame</name>
    <message>
        <source>Copy Image To Clipboard</source>
        <translation>Копировать изображение в буфер обмена</translation>
    </message>
</context>
<context>
    <name>CVectorDrawFrame</name>
    <message>
        <source>Copy Image To Clipboard</source>
        <translation>Копировать изображение в буфер обмена</translation>
    </message>
</context>
<context>
    <name>CWgtDisplaysDiff</name>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>%1X</source>
        <translation>%1X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>%1Y</source>
        <translation>%1Y</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>%1Z</source>
        <translation>%1Z</translation>
    </message>
    <message>
        <source>m</source>
        <translation>м</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
</context>
<context>
    <name>CWgtDisplaysStd</name>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>m</source>
        <translation>м</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>dB</source>
        <translation>дБ</translation>
    </message>
</context>
<context>
    <name>CWgtExtDigDisplay</name>
    <message>
        <source>Step</source>
        <translation>Шаг</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>номер</translation>
    </message>
    <message>
        <source>Step #</source>
        <translation>Шаг №</translation>
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
    <message>
        <source>The file &quot;%1&quot; to be saved was not found!</source>
        <translation>Сохраняемый файл &quot;%1&quot; не найден!</translation>
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
    <name>IndicationsFile</name>
    <message>
        <source>Couldn&apos;t save indications to file &quot;%1&quot;!</source>
        <translation>Не удалось сохранить индикации в файл &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>Couldn&apos;t write the file &quot;%1&quot;!</source>
        <translation>Не удалось записать файл &quot;%1&quot;!</translation>
    </message>
    <message>
        <source>The indications file &quot;%1&quot; was not read: %2.</source>
        <translation>Файл индикаций &quot;%1&quot; не прочитан: %2.</translation>
    </message>
    <message>
        <source>it cannot be opened (%1)</source>
        <translation>его не удаётся открыть (%1)</translation>
    </message>
    <message>
        <source>it cannot be read (%1)</source>
        <translation>его не удаётся прочитать (%1)</translation>
    </message>
    <message>
        <source>it is not a plain file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>it holds more than %1 indications</source>
        <translation>в нём больше %1 индикаций</translation>
    </message>
    <message>
        <source>it holds no list of indications</source>
        <translation>в нём нет списка индикаций</translation>
    </message>
    <message>
        <source>it is damaged or cut short (at byte %1)</source>
        <translation>он повреждён или обрезан (байт %1)</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>он больше %1 МБ</translation>
    </message>
    <message>
        <source>it is not an indications file of this program</source>
        <translation>это не файл индикаций этой программы</translation>
    </message>
    <message>
        <source>it was written by a newer version of the program (format version %1)</source>
        <translation>он записан более новой версией программы (версия формата %1)</translation>
    </message>
    <message>
        <source>its entry %1 has no valid &quot;%2&quot;</source>
        <translation>в записи %1 нет допустимого значения &quot;%2&quot;</translation>
    </message>
    <message>
        <source>its entry %1 is not an indication</source>
        <translation>запись %1 не является индикацией</translation>
    </message>
    <message>
        <source>its entry %1 repeats the number %2</source>
        <translation>в записи %1 повторяется номер %2</translation>
    </message>
    <message>
        <source>its format version is missing or damaged</source>
        <translation>версия формата отсутствует или повреждена</translation>
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
    <name>MapData</name>
    <message>
        <source>Data Reading</source>
        <translation>Чтение данных</translation>
    </message>
    <message>
        <source>Data reading progress:</source>
        <translation>Ход чтения данных:</translation>
    </message>
    <message>
        <source>Data Preparing</source>
        <translation>Подготовка данных</translation>
    </message>
    <message>
        <source>Data preparing progress:</source>
        <translation>Ход подготовки данных:</translation>
    </message>
    <message>
        <source>Data Processing</source>
        <translation>Обработка данных</translation>
    </message>
    <message>
        <source>Data processing progress:</source>
        <translation>Ход обработки данных:</translation>
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
        <source>The map is too small for a viewing state.</source>
        <translation>Карта слишком мала для сохранения настроек просмотра.</translation>
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
    <name>MapOpener</name>
    <message>
        <source>The depth window of the map lies outside its signals.</source>
        <translation>Окно глубин карты лежит за пределами её сигналов.</translation>
    </message>
    <message>
        <source>The map&apos;s volume could not be built: there is not enough memory.</source>
        <translation>Не удалось построить объём карты: недостаточно памяти.</translation>
    </message>
    <message>
        <source>Preparing the signals was stopped; the map is shown unprocessed.</source>
        <translation>Подготовка сигналов остановлена; карта показана без обработки.</translation>
    </message>
    <message>
        <source>The signals could not be prepared for SAFT: there is not enough memory. The map is shown unprocessed.</source>
        <translation>Не удалось подготовить сигналы для SAFT: недостаточно памяти. Карта показана без обработки.</translation>
    </message>
    <message>
        <source>The map&apos;s signal files could not be read again: they were changed, moved or removed since the map was opened.</source>
        <translation>Не удалось повторно прочитать файлы сигналов карты: после открытия карты они были изменены, перемещены или удалены.</translation>
    </message>
    <message>
        <source>The map&apos;s signal files could not be read again: they were changed, moved or removed since the map was opened. The map is shown unprocessed.</source>
        <translation>Не удалось повторно прочитать файлы сигналов карты: после открытия карты они были изменены, перемещены или удалены. Карта показана без обработки.</translation>
    </message>
    <message>
        <source>SAFT processing was stopped; the map is shown unprocessed.</source>
        <translation>Обработка SAFT остановлена; карта показана без обработки.</translation>
    </message>
    <message>
        <source>SAFT processing could not be done: there is not enough memory or a parameter is unusable. The map is shown unprocessed.</source>
        <translation>Не удалось выполнить обработку SAFT: недостаточно памяти или параметр непригоден. Карта показана без обработки.</translation>
    </message>
    <message>
        <source>The map cannot be opened: %1</source>
        <translation>Карту открыть невозможно: %1</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; holds no signal files (i_j.raw) of the map.</source>
        <translation>В папке «%1» нет файлов сигналов карты (i_j.raw).</translation>
    </message>
    <message>
        <source>Reading the map was stopped.</source>
        <translation>Чтение карты остановлено.</translation>
    </message>
    <message>
        <source>The map&apos;s signals could not be read: there is not enough memory.</source>
        <translation>Не удалось прочитать сигналы карты: недостаточно памяти.</translation>
    </message>
    <message numerus="yes">
        <source>%n signal file(s) of the map could not be read (missing, unreadable or shorter than %1 samples), the first of them &quot;%2&quot;; the map is not shown.</source>
        <translation>
            <numerusform>Не удалось прочитать %n файл сигнала карты (отсутствует, не читается или короче %1 отсчётов), первый из них &quot;%2&quot;; карта не показана.</numerusform>
            <numerusform>Не удалось прочитать %n файла сигналов карты (отсутствуют, не читаются или короче %1 отсчётов), первый из них &quot;%2&quot;; карта не показана.</numerusform>
            <numerusform>Не удалось прочитать %n файлов сигналов карты (отсутствуют, не читаются или короче %1 отсчётов), первый из них &quot;%2&quot;; карта не показана.</numerusform>
        </translation>
    </message>
    <message>
        <source>The map was recorded in transmission: it is shown unprocessed, SAFT does not apply.</source>
        <translation>Карта записана методом прохождения: она показана без обработки, SAFT не применяется.</translation>
    </message>
    <message>
        <source>A SAFT depth of %1 mm gives fewer than 2 depth layers; the map is left as it was.</source>
        <translation>Глубина SAFT %1 мм даёт меньше 2 слоёв по глубине; карта оставлена без изменений.</translation>
    </message>
    <message>
        <source>A velocity of %1 mm/µs cannot be used; the map is left as it was.</source>
        <translation>Скорость %1 мм/мкс непригодна; карта оставлена без изменений.</translation>
    </message>
    <message>
        <source>A SAFT depth of %1 mm gives fewer than 2 depth layers; the map is not opened.</source>
        <translation>Глубина SAFT %1 мм даёт меньше 2 слоёв по глубине; карта не открыта.</translation>
    </message>
    <message>
        <source>A velocity of %1 mm/µs cannot be used; the map is not opened.</source>
        <translation>Скорость %1 мм/мкс непригодна; карта не открыта.</translation>
    </message>
</context>
<context>
    <name>MapReport</name>
    <message>
        <source>Map Name: </source>
        <translation>Имя карты: </translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Комментарии</translation>
    </message>
    <message>
        <source>Indications</source>
        <translation>Индикации</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Метка</translation>
    </message>
    <message>
        <source>X, mm</source>
        <translation>X, мм</translation>
    </message>
    <message>
        <source>Y, mm</source>
        <translation>Y, мм</translation>
    </message>
    <message>
        <source>Z, mm</source>
        <translation>Z, мм</translation>
    </message>
    <message>
        <source>Level, dB</source>
        <translation>Уровень, дБ</translation>
    </message>
    <message>
        <source>Size X, mm</source>
        <translation>Размер X, мм</translation>
    </message>
    <message>
        <source>Size Y, mm</source>
        <translation>Размер Y, мм</translation>
    </message>
    <message>
        <source>Size Z, mm</source>
        <translation>Размер Z, мм</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Комментарий</translation>
    </message>
    <message>
        <source>* added by hand</source>
        <translation>* добавлена вручную</translation>
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
    <name>NrrdWriter</name>
    <message>
        <source>There is no volume to write to &quot;%1&quot;.</source>
        <translation>Нет объёма для записи в «%1».</translation>
    </message>
    <message>
        <source>Couldn&apos;t write &quot;%1&quot;: %2</source>
        <translation>Не удалось записать «%1»: %2</translation>
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
<context>
    <name>ScanWgt</name>
    <message>
        <source>Data Loading</source>
        <translation>Загрузка данных</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Previous A-scans</source>
        <translation>Предыдущие А-сканы</translation>
    </message>
    <message>
        <source>Next A-scans</source>
        <translation>Следующие А-сканы</translation>
    </message>
    <message>
        <source>The program is loading available data. Please, wait.</source>
        <translation>Программа загружает имеющиеся данные. Пожалуйста, подождите.</translation>
    </message>
    <message>
        <source>Data loading progress:</source>
        <translation>Ход загрузки данных:</translation>
    </message>
    <message>
        <source>No A-scans were found in the folder &quot;%1&quot;.</source>
        <translation>В папке «%1» не найдено А-сканов.</translation>
    </message>
    <message>
        <source>A-Scan Name</source>
        <translation>Имя А-скана</translation>
    </message>
    <message>
        <source>Instrument Settings</source>
        <translation>Параметры прибора</translation>
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
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>0.1</source>
        <translation>0.1</translation>
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
        <source>Reflection</source>
        <translation>Отражение</translation>
    </message>
    <message>
        <source>Transmission</source>
        <translation>Прохождение</translation>
    </message>
    <message numerus="yes">
        <source>The settings of %n A-scan(s) were changed and not saved.
Do you want to discard the changes?</source>
        <translation>
            <numerusform>Настройки %n А-скана были изменены и не сохранены.
Отменить изменения?</numerusform>
            <numerusform>Настройки %n А-сканов были изменены и не сохранены.
Отменить изменения?</numerusform>
            <numerusform>Настройки %n А-сканов были изменены и не сохранены.
Отменить изменения?</numerusform>
        </translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists!</source>
        <translation>Файл &quot;%1&quot; уже существует!</translation>
    </message>
    <message>
        <source>Do you want to rewrite it?</source>
        <translation>Перезаписать его?</translation>
    </message>
    <message numerus="yes">
        <source>The settings of %n A-scan(s) were changed and not saved.
Do you want to save them into the settings files beside the A-scans?</source>
        <translation>
            <numerusform>Настройки %n A-скана изменены и не сохранены.
Сохранить их в файлы настроек рядом с A-сканами?</numerusform>
            <numerusform>Настройки %n A-сканов изменены и не сохранены.
Сохранить их в файлы настроек рядом с A-сканами?</numerusform>
            <numerusform>Настройки %n A-сканов изменены и не сохранены.
Сохранить их в файлы настроек рядом с A-сканами?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SettingsRows</name>
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
        <source>Repetition rate, Hz</source>
        <translation>Частота повторения, Гц</translation>
    </message>
    <message>
        <source>Accumulation</source>
        <translation>Накопление</translation>
    </message>
    <message>
        <source>Sampling rate, MHz</source>
        <translation>Частота дискретизации, МГц</translation>
    </message>
</context>
</TS>
