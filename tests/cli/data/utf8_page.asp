<%@ CodePage=65001 %>
<p title="标题">中文</p><% x = "中" ' 中文注释 If %>
